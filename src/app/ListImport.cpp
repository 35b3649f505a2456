#include "ListImport.h"

#include "CProgramDoc.h"
#include "CProgramView.h"
#include "ChannelListImport.h"
#include "ListFile.h"
#include "NativePath.h"
#include "NewDocument.h"
#include "UserPrompts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ListImport {

namespace {

// More lines than this would not fit a message box on the screen.
constexpr int kShownProblems = 20;

QString refusalText(const QString &path, const tavin::lists::ImportOutcome &outcome)
{
    const std::vector<tavin::lists::ListProblem> &problems = outcome.problems;
    const std::string name = tavin::platform::fileNameOf(path).toStdString();
    QString text =
        QCoreApplication::translate("ListImport", "无法导入信道表 %1：\n\n").arg(tavin::platform::fileNameOf(path));
    // The notices say what the errors rest on, such as the band that was kept.
    for (const std::string &notice : outcome.notices)
        text += QString::fromStdString(notice) + u'\n';
    if (!outcome.notices.empty())
        text += u'\n';
    int shown = 0;
    for (const tavin::lists::ListProblem &problem : problems) {
        if (shown++ == kShownProblems)
            break;
        text += QString::fromStdString(tavin::lists::problemLine(name, problem)) + u'\n';
    }
    if (problems.size() > std::size_t(kShownProblems))
        text += QCoreApplication::translate("ListImport", "... (%1 errors in all)\n").arg(problems.size());
    return text;
}

}  // namespace

bool isChannelListFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0
           || suffix.compare(QLatin1String("json"), Qt::CaseInsensitive) == 0;
}

bool importIntoDocument(const QString &path, CProgramDoc &doc, CProgramView &view, const tavin::ToneTable &tones,
                        UserPrompts &prompts, const std::function<bool()> &mayReplace)
{
    QByteArray bytes;
    const tavin::FileResult read = tavin::lists::readListFile(tavin::platform::toNative(path), &bytes);
    if (!read) {
        prompts.showFileError(QCoreApplication::translate("ListImport", "无法打开文件。\n\n%1")
                                  .arg(QString::fromStdString(read.error)));
        return false;
    }

    const tavin::lists::ImportOutcome outcome =
        tavin::lists::importChannelList(bytes, tavin::savedNewDocument(), {}, tones);
    if (outcome.refused()) {
        prompts.showFileError(refusalText(path, outcome));
        return false;
    }
    if (!mayReplace())
        return false;
    doc.OnNewDocument();
    doc.image() = outcome.image;
    view.OnInitialUpdate();
    doc.setModified(true);
    return true;
}

}  // namespace ListImport
