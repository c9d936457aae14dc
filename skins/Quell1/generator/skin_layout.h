#pragma once
// Where every element of the Quell1 skin sits on its 800x600 frame. The
// frame painter draws wells and plates under these rectangles and the
// description writer puts the same numbers into Quell1.ini, so this table is
// the only place a position is written down.
#include <QColor>
#include <QRect>
#include <QString>

#include <vector>

namespace quell1 {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// Body of the window: a rounded slab below two raised tabs.
constexpr int kBodyLeft = 6;
constexpr int kBodyTop = 24;
constexpr int kBodyRight = 794;
constexpr int kBodyBottom = 592;
constexpr int kBodyCorner = 36;

// The crest carries the word mark and the File, Edit and View buttons; the
// smaller tab on the right carries the window buttons.
constexpr int kCrestLeft = 176;
constexpr int kCrestRight = 524;
constexpr int kCrestTop = 4;
constexpr int kTabLeft = 636;
constexpr int kTabRight = 744;
constexpr int kTabTop = 8;

// The Photo picture is placed by the program at (21, 34) with the size of
// Photo.bmp beside the executable.
constexpr int kPhotoX = 21;
constexpr int kPhotoY = 34;
constexpr int kPhotoWidth = 130;
constexpr int kPhotoHeight = 384;

const QRect kBrowserRect(QPoint(172, 112), QPoint(781, 547));  // inclusive corners
constexpr int kGoButtonWidth = 41;
const QRect kAddressRect(172, 80, 568, 22);
const QRect kStatusRect(188, 558, 388, 18);
const QRect kProgressRect(600, 562, 164, 10);
const QRect kBusyRect(752, 78, 26, 26);
const QRect kEqualizerRect(28, 552, 44, 24);

enum class ButtonStyle { Round, Small, Menu };

// The press sound some buttons play; the others name none.
inline constexpr const char* kClickSoundFile = "click.wav";

// One [Button] entry: the kind's key stem, the file stem of its pictures,
// its place, its tooltip and its press sound (empty for none).
struct ButtonSpot {
    QString kind;
    QString fileStem;
    QRect rect;
    ButtonStyle style;
    QString tooltip;
    QString sound;
};

const std::vector<ButtonSpot>& buttonSpots();

// One [Text] entry that acts as a link or a command.
struct LinkSpot {
    QString action;  // the entry's action keyword
    QString caption;
    QString argument;  // for direct and execute only
    QRect rect;
};

const std::vector<LinkSpot>& linkSpots();

// The colours the frame, the controls and the description share.
namespace palette {
const QColor kRim(9, 12, 20);
const QColor kBodyTop(52, 64, 92);
const QColor kBodyBottom(24, 30, 46);
const QColor kWell(15, 20, 32);
const QColor kAccent(64, 214, 200);
const QColor kAccentDeep(40, 120, 170);
const QColor kGlow(150, 240, 230);
const QColor kText(206, 216, 232);
const QColor kTextDim(140, 156, 182);
const QColor kGold(255, 196, 92);
const QColor kProgressStart(64, 214, 200);
const QColor kProgressEnd(126, 132, 255);
}  // namespace palette

}  // namespace quell1
