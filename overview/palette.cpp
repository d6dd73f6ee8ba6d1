#include "overview/palette.h"

#include "common/owners.h"
#include "config/settings.h"

OverviewColours ChooseOverviewColours(bool highContrast, AppMode mode, const COLORREF* system)
{
    OverviewColours colours;
    colours.highContrast = highContrast;
    colours.background = system[COLOR_INACTIVECAPTION];
    colours.snapshot.corners = system[COLOR_INACTIVECAPTION];
    if (highContrast) {
        colours.selectionOuter = colours.selectionInner = system[COLOR_HIGHLIGHT];
        colours.panelFrom = colours.panelTo = system[COLOR_HIGHLIGHT];
        colours.tileArea = colours.bandFrom = colours.bandTo = system[COLOR_WINDOW];
        colours.rule = colours.text = colours.notice = colours.label = system[COLOR_WINDOWTEXT];
        colours.dim = RGB(0, 0, 0);
        // The squares lie on the selected tile's panel, the notice on any snapshot: each on a
        // ground of its own.
        SnapshotColours& snapshot = colours.snapshot;
        snapshot.buttonLine = snapshot.incompleteText = system[COLOR_WINDOWTEXT];
        snapshot.buttonFill = snapshot.closeFrom = snapshot.closeTo = system[COLOR_WINDOW];
        snapshot.infoFrom = snapshot.infoTo = snapshot.incompleteBackground = system[COLOR_WINDOW];
        return colours;
    }
    // The orange selection is the same in both looks.
    colours.selectionOuter = RGB(255, 204, 102);
    colours.selectionInner = RGB(255, 153, 51);
    SnapshotColours& snapshot = colours.snapshot;
    snapshot.buttonLine = RGB(255, 238, 204);
    snapshot.closeFrom = RGB(255, 204, 102);
    colours.labelShadow = colours.dim = RGB(0, 0, 0);
    if (mode == AppMode::Dark) {
        // Near-black surfaces, the bands a shade cooler towards the screen's edges; light grey
        // text; the selected tile's panel warms towards the orange of its frame.
        colours.dark = true;
        colours.tileArea = colours.bandTo = colours.background = colours.dim = snapshot.corners = RGB(32, 32, 32);
        colours.bandFrom = RGB(18, 21, 26);
        colours.ground = MeanColour(colours.bandFrom, colours.bandTo);
        colours.rule = RGB(96, 96, 96);
        colours.text = RGB(232, 232, 232);
        colours.label = RGB(245, 245, 245);
        colours.notice = RGB(170, 170, 170);
        colours.panelFrom = RGB(58, 58, 58);
        colours.panelTo = RGB(120, 72, 24);
        snapshot.buttonFill = RGB(32, 32, 32);
        snapshot.closeTo = RGB(214, 40, 24);
        snapshot.infoFrom = RGB(88, 88, 88);
        snapshot.infoTo = RGB(44, 44, 44);
        snapshot.incompleteText = RGB(255, 128, 112);
        snapshot.incompleteBackground = RGB(32, 32, 32);
        return colours;
    }
    colours.panelFrom = RGB(51, 51, 51);
    colours.panelTo = system[COLOR_ACTIVECAPTION];
    colours.tileArea = colours.bandTo = system[COLOR_INACTIVECAPTION];
    colours.bandFrom = system[COLOR_DESKTOP];
    colours.rule = RGB(255, 255, 255);
    colours.text = colours.label = system[COLOR_CAPTIONTEXT];
    colours.notice = system[COLOR_INACTIVECAPTIONTEXT];
    snapshot.buttonFill = RGB(255, 255, 255);
    snapshot.closeTo = RGB(255, 0, 0);
    snapshot.infoFrom = system[COLOR_INACTIVECAPTION];
    snapshot.infoTo = system[COLOR_ACTIVECAPTION];
    snapshot.incompleteText = RGB(255, 0, 0);
    snapshot.incompleteBackground = kTransparent;
    return colours;
}

AppMode ReadAppMode()
{
    UniqueHkey key;
    DWORD light = 1;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS ||
        !ReadDwordValue(key.get(), L"AppsUseLightTheme", &light))
        return AppMode::Light;
    return light == 0 ? AppMode::Dark : AppMode::Light;
}

OverviewColours CurrentOverviewColours()
{
    COLORREF system[COLOR_MENUBAR + 1];
    for (int index = 0; index <= COLOR_MENUBAR; ++index) system[index] = GetSysColor(index);
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return ChooseOverviewColours(high, ReadAppMode(), system);
}
