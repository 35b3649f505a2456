// File names as the file system has them, byte for byte.
//
// On POSIX systems a file name is any bytes but '/' and NUL; Qt turns names
// into text as UTF-8 and replaces bytes that are not UTF-8 with U+FFFD, so a
// name such as "bad\xff.sin" could neither be opened nor created under its
// own name. The programs therefore keep every path as a QString in which
// each byte that is not part of valid UTF-8 is a lone surrogate U+DC80 + byte
// (for valid UTF-8 names this is the usual QString), and reach the file
// system only through toNative(). On Windows, file names are UTF-16 already
// and these functions change nothing.
//
// Paths from every source come in through here: the command line
// (arguments), file dialogs (fromQtPath), dropped files (fromUrl) and the
// recent-file list (fromSettingsValue).
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <filesystem>

class QUrl;

namespace tavin::platform {

// The native path of a path text.
std::filesystem::path toNative(const QString &path);
// The path text of a native path (on Windows with '/' between the parts).
QString fromNative(const std::filesystem::path &path);

// POSIX only: the bytes of a path text, and the text of path bytes.
QByteArray toNativeBytes(const QString &path);
QString fromNativeBytes(const QByteArray &bytes);

// The program's arguments after the application object has taken its own
// options out of argc/argv (argv[0] included), each byte kept.
QStringList arguments(int argc, char **argv);

// A path that Qt made from a file name (a file dialog's result): where it has
// U+FFFD, each such part is looked up in its folder's listing and replaced by
// the name that Qt shows that way, when exactly one does.
QString fromQtPath(const QString &qtPath);
// The path as Qt code can show it (bytes that are not UTF-8 as U+FFFD; on
// Windows with '\\' between the parts, as Windows shows paths), for dialogs
// and titles; not for reaching the file.
QString toQtPath(const QString &path);

// The local file of a dropped or opened URL, percent-encoded bytes kept.
// Empty when the URL is not a local file.
QString fromUrl(const QUrl &url);

// A recent-file entry for the settings: the path text where it converts
// exactly, else its bytes (on Windows the path with '\\'); and back.
QVariant toSettingsValue(const QString &path);
QString fromSettingsValue(const QVariant &value);

// The absolute, lexically clean form of path (no "." or ".." parts), made
// without asking Qt, so no byte is lost.
QString absolutePath(const QString &path);
// Whether something exists at path.
bool pathExists(const QString &path);
// The last part of path ("radio.sin").
QString fileNameOf(const QString &path);

// A text for a message or a report: bytes that are not UTF-8 as \xNN,
// control characters as \xNN (C1 controls as \u0085), so that no name and
// no file's contents can break a line or steer the terminal.
QString shown(const QString &text);

// The path quoted for messages, as shown(): '/home/ann/bad\xff.sin'.
QString quoted(const QString &path);

}  // namespace tavin::platform
