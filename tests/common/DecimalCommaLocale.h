// The decimal-comma locale that the locale tests switch to, to show that radio
// data never goes through the process locale. Where it is not installed those
// tests skip, except under CI=true: there a missing locale is a failure, so a
// run that never switched locale cannot pass as one that did.
#pragma once

#include <QtGlobal>
#include <QTest>

#include <clocale>
#include <string>

namespace tavin::test {

inline constexpr const char *kDecimalCommaLocale = "de_DE.UTF-8";

// True when the C library can switch to the locale; the process locale is left as it was.
inline bool decimalCommaLocaleInstalled()
{
    const char *current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current ? current : "C";
    const bool installed = std::setlocale(LC_ALL, kDecimalCommaLocale) != nullptr;
    std::setlocale(LC_ALL, saved.c_str());
    return installed;
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
