#include "TwipsConversion.h"

#include <QFont>

#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double PointsPerInch = 72.0;
constexpr double TwipsPerPoint = TwipsPerInch / PointsPerInch;

} // namespace

int TwipsConversion::toDialogHeight(int twips, double dpi)
{
    return static_cast<int>(twips * dpi * (-1.0 / TwipsPerInch));
}

int TwipsConversion::fromDialogHeight(int dialogHeight, double dpi)
{
    return static_cast<int>(dialogHeight / dpi * -TwipsPerInch);
}

int TwipsConversion::dialogHeightOfPoints(double points, double dpi)
{
    return -static_cast<int>(std::lround(points * dpi / PointsPerInch));
}

int TwipsConversion::dialogHeightOf(const QFont &font, double dpi)
{
    if (font.pixelSize() > 0)
        return -font.pixelSize();
    return dialogHeightOfPoints(font.pointSizeF(), dpi);
}

double TwipsConversion::pointsOf(int twips)
{
    return twips / TwipsPerPoint;
}

int TwipsConversion::twipsOf(const QFont &font, double dpi)
{
    if (font.pointSizeF() > 0)
        return static_cast<int>(std::lround(font.pointSizeF() * TwipsPerPoint));
    return static_cast<int>(std::lround(font.pixelSize() * TwipsPerInch / dpi));
}
