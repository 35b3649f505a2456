// A drop-down chooser over a tone or switch cell: the tone chooser with its
// editable text field, or one of the four fixed lists (busy lock, bandwidth,
// scan, power). Its words are the grid's data ("是", "无", ...); the list
// shows them in the user's language and the chooser gives back the data word.
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
    // words: the data words, in list order.
    CellChooser(int controlId, bool editable, const QFont &font, const QStringList &words, QWidget *grid);

    int controlId() const { return m_controlId; }

    // Entering a cell: select the first item whose word begins with the
    // cell's text, letter case ignored, or else the first item.
    void preload(const QString &cellText);
    // What goes into the cell: the chosen item's word; for the tone chooser
    // the text of its field, as a word of the list where it shows one (the
    // shown "无" in any language and letter case), otherwise as typed.
    QString chosenWord() const;
    // A typed character replaces the text field (tone chooser); the fixed lists
    // keep their choice.
    void seed(QChar typed);
    // Opened without a typed character: the tone chooser's text is selected
    // whole, so that typing replaces it.
    void selectText();

    void showPopup() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    // The list is filled when the chooser is first needed: the 261 tone names
    // would otherwise cost start-up time.
    void ensureFilled();

    int m_controlId = 0;
    QStringList m_words;
    bool m_filled = false;
};
