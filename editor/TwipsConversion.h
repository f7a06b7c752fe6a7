#pragma once

class QFont;

// Font heights are stored in twips (1/1440 inch), as the settings file has always
// kept them; the font dialog speaks in logical pixel heights, negative for a
// character height. Every conversion truncates towards zero, so a size confirmed
// unchanged in the dialog settles on one value instead of drifting.
class TwipsConversion
{
public:
    // The logical height the font dialog opens with: negative, in pixels.
    static int toDialogHeight(int twips, double dpi);
    // The stored height of a logical height the dialog hands back.
    static int fromDialogHeight(int dialogHeight, double dpi);
    // The logical height of a point size chosen in the dialog, rounded to whole
    // pixels as the dialog's size list does.
    static int dialogHeightOfPoints(double points, double dpi);
    // The dialog's logical height of a font it hands back, sized in points or pixels.
    static int dialogHeightOf(const QFont &font, double dpi);

    static double pointsOf(int twips);
    // The character height of a font in twips.
    static int twipsOf(const QFont &font, double dpi);
};
