#include "RecordingDevice.h"

#include <QFontMetricsF>
#include <QTextItem>

#include <algorithm>
#include <cmath>

class RecordingDevice::Engine : public QPaintEngine
{
public:
    explicit Engine(std::vector<RecordedText> &texts) : QPaintEngine(AllFeatures), m_texts(texts) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    Type type() const override { return User; }

    void drawTextItem(const QPointF &baseline, const QTextItem &item) override
    {
        const QTransform t = state->transform();
        // The line box of the requested face, also for an item that a
        // fallback face (Chinese) draws: the page places lines by that face.
        const QFontMetricsF metrics(item.font());
        const QPointF topLeft = t.map(QPointF(baseline.x(), baseline.y() - metrics.ascent()));
        const qreal width = item.width() * t.m11();
        const qreal height = metrics.height() * t.m22();
        const qreal pixelHeight = item.font().pixelSize() * t.m22();
        m_texts.push_back({item.text(), QRectF(topLeft, QSizeF(width, height)), pixelHeight, item.font()});
    }

private:
    std::vector<RecordedText> &m_texts;
};

RecordingDevice::RecordingDevice(int widthPx, int heightPx, int dpiX, int dpiY)
    : m_width(widthPx), m_height(heightPx), m_dpiX(dpiX), m_dpiY(dpiY), m_engine(std::make_unique<Engine>(m_texts))
{
}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine *RecordingDevice::paintEngine() const
{
    return m_engine.get();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_width;
    case PdmHeight: return m_height;
    case PdmWidthMM: return int(m_width * 25.4 / m_dpiX);
    case PdmHeightMM: return int(m_height * 25.4 / m_dpiY);
    case PdmDpiX:
    case PdmPhysicalDpiX: return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY: return m_dpiY;
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

std::vector<RecordedText> RecordingDevice::runs() const
{
    std::vector<RecordedText> runs;
    for (const RecordedText &t : m_texts) {
        // Qt draws a line of mixed Latin and Chinese as one item per script.
        if (!runs.empty()) {
            RecordedText &last = runs.back();
            const qreal tolerance = std::max<qreal>(1.0, last.pixelHeight / 50);
            if (std::abs(last.box.top() - t.box.top()) <= tolerance
                && std::abs(last.box.right() - t.box.left()) <= tolerance) {
                last.text += t.text;
                last.box.setRight(t.box.right());
                continue;
            }
        }
        runs.push_back(t);
    }
    return runs;
}
