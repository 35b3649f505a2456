#include "CommandTexts.h"

#include "CommandIds.h"

#include <QCoreApplication>

namespace texts {

namespace {

constexpr char kContext[] = "CommandTexts";

struct Entry {
    int id;
    const char *prompt;
    const char *tooltip;  // nullptr for none
};

constexpr Entry kTable[] = {
    {cmd::kFileNew, QT_TRANSLATE_NOOP("CommandTexts", "建立新文档"), QT_TRANSLATE_NOOP("CommandTexts", "新建")},
    {cmd::kFileOpen, QT_TRANSLATE_NOOP("CommandTexts", "打开一个现有文档"), QT_TRANSLATE_NOOP("CommandTexts", "打开")},
    {cmd::kFileSave, QT_TRANSLATE_NOOP("CommandTexts", "保存活动文档"), QT_TRANSLATE_NOOP("CommandTexts", "保存")},
    {cmd::kFileSaveAs, QT_TRANSLATE_NOOP("CommandTexts", "将活动文档以一个新文件名保存"),
     QT_TRANSLATE_NOOP("CommandTexts", "另存为")},
    {cmd::kFilePrintSetup, QT_TRANSLATE_NOOP("CommandTexts", "改变打印机及打印选项"),
     QT_TRANSLATE_NOOP("CommandTexts", "打印设置")},
    {cmd::kFilePrint, QT_TRANSLATE_NOOP("CommandTexts", "打印活动文档"), QT_TRANSLATE_NOOP("CommandTexts", "打印")},
    {cmd::kFilePrintPreview, QT_TRANSLATE_NOOP("CommandTexts", "显示整页"), QT_TRANSLATE_NOOP("CommandTexts", "打印预览")},
    {cmd::kFileMru1, QT_TRANSLATE_NOOP("CommandTexts", "打开该文档"), nullptr},
    {cmd::kFileMru1 + 1, QT_TRANSLATE_NOOP("CommandTexts", "打开该文档"), nullptr},
    {cmd::kFileMru1 + 2, QT_TRANSLATE_NOOP("CommandTexts", "打开该文档"), nullptr},
    {cmd::kFileMru1 + 3, QT_TRANSLATE_NOOP("CommandTexts", "打开该文档"), nullptr},
    {cmd::kAppAbout, QT_TRANSLATE_NOOP("CommandTexts", "显示程序信息，版本号和版权"), QT_TRANSLATE_NOOP("CommandTexts", "关于")},
    {cmd::kAppExit, QT_TRANSLATE_NOOP("CommandTexts", "退出应用程序；提示保存文档"), QT_TRANSLATE_NOOP("CommandTexts", "退出")},
    {cmd::kReadFromRadio, QT_TRANSLATE_NOOP("CommandTexts", "从对讲机读取数据"), QT_TRANSLATE_NOOP("CommandTexts", "读频")},
    {cmd::kWriteToRadio, QT_TRANSLATE_NOOP("CommandTexts", "向对讲机写入数据"), QT_TRANSLATE_NOOP("CommandTexts", "写频")},
    {cmd::kPortCom1, QT_TRANSLATE_NOOP("CommandTexts", "选择串口1 "), QT_TRANSLATE_NOOP("CommandTexts", "Com1")},
    {cmd::kPortCom2, QT_TRANSLATE_NOOP("CommandTexts", "选择串口2 "), QT_TRANSLATE_NOOP("CommandTexts", "Com2")},
    {cmd::kPortCom3, QT_TRANSLATE_NOOP("CommandTexts", "选择串口3 "), QT_TRANSLATE_NOOP("CommandTexts", "Com3")},
    {cmd::kPortCom4, QT_TRANSLATE_NOOP("CommandTexts", "选择串口4 "), QT_TRANSLATE_NOOP("CommandTexts", "Com4")},
    {cmd::kToolsImportList, QT_TRANSLATE_NOOP("CommandTexts", "从 CSV 或 JSON 信道表导入信道到窗体"), nullptr},
    {cmd::kToolsExportList, QT_TRANSLATE_NOOP("CommandTexts", "将窗体中的信道导出为 CSV 或 JSON 信道表"), nullptr},
    {cmd::kToolsCompareFile, QT_TRANSLATE_NOOP("CommandTexts", "将窗体与一个信道文件比较，列出不同之处"), nullptr},
    {cmd::kToolsVerifyRadio, QT_TRANSLATE_NOOP("CommandTexts", "读取对讲机，核对其数据是否与窗体一致"), nullptr},
    {cmd::kToolsFleet, QT_TRANSLATE_NOOP("CommandTexts", "用窗体中的数据给多台对讲机写频，逐台备份、核对并记入审计日志"), nullptr},
    {cmd::kToolsCableCheck, QT_TRANSLATE_NOOP("CommandTexts", "检查当前串口、编程线及其驱动，并给出修正方法"), nullptr},
    {cmd::kViewToolbar, QT_TRANSLATE_NOOP("CommandTexts", "显示或隐藏工具栏"), QT_TRANSLATE_NOOP("CommandTexts", "显隐工具栏")},
    {cmd::kViewStatusBar, QT_TRANSLATE_NOOP("CommandTexts", "显示或隐藏状态栏"),
     QT_TRANSLATE_NOOP("CommandTexts", "显隐状态栏")},
    {cmd::kIndicatorCaps, QT_TRANSLATE_NOOP("CommandTexts", "大写"), nullptr},
    {cmd::kIndicatorNum, QT_TRANSLATE_NOOP("CommandTexts", "数字"), nullptr},
    {cmd::kIndicatorScroll, QT_TRANSLATE_NOOP("CommandTexts", "滚动"), nullptr},
};

QString translated(const char *text)
{
    return text ? QCoreApplication::translate(kContext, text) : QString();
}

}  // namespace

QString ready()
{
    return QCoreApplication::translate("CommandTexts", "就绪");
}

QString fileFilter()
{
    return QCoreApplication::translate("CommandTexts", "Channel Data (*.sin)");
}

CommandText commandText(int id)
{
    for (const Entry &entry : kTable) {
        if (entry.id == id)
            return {translated(entry.prompt), translated(entry.tooltip)};
    }
    return {};
}

}  // namespace texts
