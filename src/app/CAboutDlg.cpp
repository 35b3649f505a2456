#include "CAboutDlg.h"

#include "DialogUnits.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kWidthDlu = 177;
constexpr int kHeightDlu = 63;
constexpr int kFontPoints = 10;

}  // namespace

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("关于"));
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("sans-serif")});
    font.setPointSize(kFontPoints);
    setFont(font);
    const DialogUnits units(font);
    setFixedSize(units.toPixelsX(kWidthDlu), units.toPixelsY(kHeightDlu));

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/32/tavin.png")).pixmap(32, 32));
    icon->move(units.toPixelsX(132), units.toPixelsY(12));
    icon->resize(32, 32);

    auto *version = new QLabel(tr("版本1.0.1"), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(units.toPixels(14, 15, 105, 8).adjusted(0, -2, 0, 2));

    auto *copyright = new QLabel(tr("Tavin写频软件\n版权所有 (C) 2026 Tavin"), this);
    copyright->setTextFormat(Qt::PlainText);
    copyright->setGeometry(units.toPixels(14, 31, 105, 17).adjusted(0, -2, 0, 2));

    auto *ok = new QPushButton(tr("确定"), this);
    ok->setDefault(true);
    ok->setGeometry(units.toPixels(122, 37, 39, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
