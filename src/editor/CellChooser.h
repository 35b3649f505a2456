// A drop-down chooser over a tone or switch cell: the tone chooser with its
// editable text field, or one of the four fixed lists (busy lock, bandwidth,
// scan, power).
#pragma once

#include "FocusedComboBox.h"

class CellChooser final : public FocusedComboBox
{
    Q_OBJECT

public:
    static constexpr int kToneId = 1000;
    static constexpr int kBusyLockId = 61448;
    static constexpr int kBandwidthId = 61449;
    static constexpr int kScanId = 61450;
    static constexpr int kPowerId = 61451;

    // editable: the user may type a text of his own (the tone chooser).
    CellChooser(int controlId, bool editable, const QFont &font, const QStringList &items, QWidget *grid);

    int controlId() const { return m_controlId; }

    // Entering a cell: select the first item that begins with the cell's text,
    // letter case ignored, or else the first item.
    void preload(const QString &cellText);
    // A typed character replaces the text field (tone chooser); the fixed lists
    // keep their choice.
    void seed(QChar typed);
    // Opened without a typed character: the tone chooser's text is selected
    // whole, so that typing replaces it.
    void selectText();

    void showPopup() override;

private:
    // The list is filled when the chooser is first needed: the 261 tone names
    // would otherwise cost start-up time.
    void ensureFilled();

    int m_controlId = 0;
    QStringList m_items;
    bool m_filled = false;
};
