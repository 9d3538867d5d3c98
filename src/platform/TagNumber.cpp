#include "platform/TagNumber.h"

void TagNumber::Read(const QString& text, int& number, int& count)
{
    number = text.section(QLatin1Char('/'), 0, 0).trimmed().toInt();
    count = text.section(QLatin1Char('/'), 1, 1).trimmed().toInt();
}
