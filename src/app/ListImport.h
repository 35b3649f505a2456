// Channel lists (*.csv, *.json) opened in the desktop program, by a drop on
// the window, the command line or the Open dialog: imported through the lists
// library against a new document, shown, and marked changed with no file
// name, so that Save asks where to put it.
#pragma once

#include <QString>

#include <functional>

class CProgramDoc;
class CProgramView;
class UserPrompts;

namespace tavin {
class ToneTable;
}

namespace ListImport {

// By the file's extension: .csv or .json, any letter case.
bool isChannelListFile(const QString &path);

// Imports the list at path. When it cannot be read or the editor's rules
// refuse some of it, one message lists every error and the document and the
// form stay as they were. An accepted list replaces the document only when
// mayReplace() agrees (the unsaved-changes question). Returns true when the
// list was imported.
bool importIntoDocument(const QString &path, CProgramDoc &doc, CProgramView &view, const tavin::ToneTable &tones,
                        UserPrompts &prompts, const std::function<bool()> &mayReplace);

}  // namespace ListImport
