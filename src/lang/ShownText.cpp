#include "ShownText.h"

#include <QCoreApplication>

namespace tavin::lang {

QString shownText(const QString &dataText)
{
    if (dataText.isEmpty())
        return dataText;
    return QCoreApplication::translate(kRadioDataContext, dataText.toUtf8().constData());
}

}  // namespace tavin::lang
