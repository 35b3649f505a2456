// A paint device of a chosen size and resolution that records every text the
// page draws: its text, the top-left corner of its line box and its size, in
// the device's pixels. It stands in for a printer of that resolution.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

struct RecordedText {
    QString text;
    QRectF box;          // device pixels: left, top of the line box, width, ascent + descent
    qreal pixelHeight;   // the font's character height in device pixels
    QFont font;
};

class RecordingDevice : public QPaintDevice
{
public:
    RecordingDevice(int widthPx, int heightPx, int dpiX, int dpiY);
    ~RecordingDevice() override;

    QPaintEngine *paintEngine() const override;
    const std::vector<RecordedText> &texts() const { return m_texts; }
    // Texts drawn one after the other on one line, as one run each.
    std::vector<RecordedText> runs() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    int m_width = 0;
    int m_height = 0;
    int m_dpiX = 0;
    int m_dpiY = 0;
    std::vector<RecordedText> m_texts;
    std::unique_ptr<Engine> m_engine;
};
