#include "CommandTexts.h"

#include "CommandIds.h"

#include <QHash>

namespace texts {

CommandText commandText(int id)
{
    static const QHash<int, CommandText> table = {
        {cmd::kFileNew, {QStringLiteral("建立新文档"), QStringLiteral("新建")}},
        {cmd::kFileOpen, {QStringLiteral("打开一个现有文档"), QStringLiteral("打开")}},
        {cmd::kFileSave, {QStringLiteral("保存活动文档"), QStringLiteral("保存")}},
        {cmd::kFileSaveAs, {QStringLiteral("将活动文档以一个新文件名保存"), QStringLiteral("另存为")}},
        {cmd::kFilePrintSetup, {QStringLiteral("改变打印机及打印选项"), QStringLiteral("打印设置")}},
        {cmd::kFilePrint, {QStringLiteral("打印活动文档"), QStringLiteral("打印")}},
        {cmd::kFilePrintPreview, {QStringLiteral("显示整页"), QStringLiteral("打印预览")}},
        {cmd::kFileMru1, {QStringLiteral("打开该文档"), QString()}},
        {cmd::kFileMru1 + 1, {QStringLiteral("打开该文档"), QString()}},
        {cmd::kFileMru1 + 2, {QStringLiteral("打开该文档"), QString()}},
        {cmd::kFileMru1 + 3, {QStringLiteral("打开该文档"), QString()}},
        {cmd::kAppAbout, {QStringLiteral("显示程序信息，版本号和版权"), QStringLiteral("关于")}},
        {cmd::kAppExit, {QStringLiteral("退出应用程序；提示保存文档"), QStringLiteral("退出")}},
        {cmd::kReadFromRadio, {QStringLiteral("从对讲机读取数据"), QStringLiteral("读频")}},
        {cmd::kWriteToRadio, {QStringLiteral("向对讲机写入数据"), QStringLiteral("写频")}},
        {cmd::kPortCom1, {QStringLiteral("选择串口1 "), QStringLiteral("Com1")}},
        {cmd::kPortCom2, {QStringLiteral("选择串口2 "), QStringLiteral("Com2")}},
        {cmd::kPortCom3, {QStringLiteral("选择串口3 "), QStringLiteral("Com3")}},
        {cmd::kPortCom4, {QStringLiteral("选择串口4 "), QStringLiteral("Com4")}},
        {cmd::kViewToolbar, {QStringLiteral("显示或隐藏工具栏"), QStringLiteral("显隐工具栏")}},
        {cmd::kViewStatusBar, {QStringLiteral("显示或隐藏状态栏"), QStringLiteral("显隐状态栏")}},
        {cmd::kIndicatorCaps, {QStringLiteral("大写"), QString()}},
        {cmd::kIndicatorNum, {QStringLiteral("数字"), QString()}},
        {cmd::kIndicatorScroll, {QStringLiteral("滚动"), QString()}},
    };
    return table.value(id);
}

}  // namespace texts
