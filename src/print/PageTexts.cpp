#include "PageTexts.h"

#include "ShownText.h"

#include <QCoreApplication>

namespace tavin::print {

PageTexts PageTexts::collect(const std::function<QString(SettingBox)> &boxText,
                             const std::function<QString(int row, int col)> &cellText)
{
    PageTexts t;
    t.model = boxText(SettingBox::Model);
    t.band = boxText(SettingBox::Band);
    t.txTimeLimit = boxText(SettingBox::TxTimeLimit);
    t.beep = boxText(SettingBox::Beep);
    t.squelchLevel = boxText(SettingBox::SquelchLevel);
    t.monitor = boxText(SettingBox::Monitor);
    for (int row = 0; row < kGridRowCount; ++row) {
        for (int col = 0; col < kPrintedColumnCount; ++col)
            t.cells[row][col] = cellText(row, col);
    }
    for (int channel = 1; channel <= kChannelCount; ++channel)
        t.bandwidths[channel - 1] = cellText(channel, kBandwidthGridColumn);
    return t;
}

PageTexts pageTextsFromDecoded(const ChannelTable &channels, const BoxSelections &selections)
{
    const auto boxText = [&selections](SettingBox box) {
        return QString::fromStdString(selectionText(box, selections[box]));
    };
    const auto cellText = [&channels](int row, int col) {
        if (row == 0)
            return QString::fromUtf8(kGridHeaderTexts[col].data(), qsizetype(kGridHeaderTexts[col].size()));
        if (col == 0)
            return QString::fromStdString(channelNumberText(row));
        return QString::fromStdString(channels[row - 1][col - 1]);
    };
    return PageTexts::collect(boxText, cellText);
}

QString wideNarrowSummary(const PageTexts &texts)
{
    QString shared;
    bool any = false;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const auto &row = texts.cells[channel];
        if (row[1].isEmpty() && row[2].isEmpty())
            continue;
        const QString &bandwidth = texts.bandwidths[channel - 1];
        if (!any) {
            shared = bandwidth;
            any = true;
        } else if (bandwidth != shared) {
            return QCoreApplication::translate("SettingsPage", "Mixed");
        }
    }
    return lang::shownText(shared);
}

}  // namespace tavin::print
