// The decimal-comma locale that the locale tests switch to, to show that radio
// data never goes through the process locale. Where it is not installed those
// tests skip, except under CI=true: there a missing locale is a failure, so a
// run that never switched locale cannot pass as one that did.
#pragma once

#include <QtGlobal>
#include <QTest>

#include <clocale>
#include <cstdio>
#include <string>

namespace tavin::test {

// The C library's name of a locale that writes a decimal comma ("de_DE.UTF-8"
// on Linux; Windows' runtime knows it by other names), or nullptr when none is
// installed. The process locale is left as it was.
inline const char *decimalCommaLocale()
{
    static const char *const found = [] {
        const char *current = std::setlocale(LC_ALL, nullptr);
        const std::string saved = current ? current : "C";
        const char *result = nullptr;
        for (const char *name : {"de_DE.UTF-8", "de-DE.UTF-8", "German_Germany.1252"}) {
            if (!std::setlocale(LC_ALL, name))
                continue;
            char probe[8];
            std::snprintf(probe, sizeof probe, "%.1f", 1.5);
            if (std::string(probe) == "1,5") {
                result = name;
                break;
            }
        }
        std::setlocale(LC_ALL, saved.c_str());
        return result;
    }();
    return found;
}

inline bool decimalCommaLocaleInstalled()
{
    return decimalCommaLocale() != nullptr;
}

inline bool missingLocaleFails()
{
    return qgetenv("CI") == "true";
}

}  // namespace tavin::test

#define TAVIN_LOCALE_MISSING_TEXT \
    "the de_DE.UTF-8 locale is not installed (scripts/ensure-deps.sh generates it as root)"

// For a test that means nothing without the locale: skips, or fails under CI=true.
#define TAVIN_REQUIRE_DECIMAL_COMMA_LOCALE()                        \
    do {                                                            \
        if (!tavin::test::decimalCommaLocaleInstalled()) {          \
            if (tavin::test::missingLocaleFails())                  \
                QFAIL(TAVIN_LOCALE_MISSING_TEXT);                   \
            QSKIP(TAVIN_LOCALE_MISSING_TEXT);                       \
        }                                                           \
    } while (false)

// For a test that checks more than the locale: goes on without it, but fails under CI=true.
#define TAVIN_EXPECT_DECIMAL_COMMA_LOCALE()                                               \
    do {                                                                                  \
        if (!tavin::test::decimalCommaLocaleInstalled() && tavin::test::missingLocaleFails()) \
            QFAIL(TAVIN_LOCALE_MISSING_TEXT);                                             \
    } while (false)
