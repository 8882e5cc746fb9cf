#include "transportbar.h"
#include "lxsimage.h"
#include "skin.h"
#include "widgetmaking.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace lumora {
using ui::fill;
using ui::make;
using ui::panel;
namespace {

// ImageList2: the pictures of the bar's buttons.
constexpr int kPausePicture = 9;
constexpr int kPlayPicture = 8;
constexpr int kSoundOnPicture = 14;
constexpr int kSoundOffPicture = 15;
constexpr int kMaxVolumeLevel = 255;

QIcon imageList2(int index) {
    return QIcon(skinPicture(QStringLiteral("imagelist2_%1").arg(index)));
}

struct PlayStateRow {
    PlayState state;
    bool enabled;
    const char* hint;
    int picture;
    const char* status;
};

constexpr PlayStateRow kPlayStates[] = {
    {PlayState::Playing, true, "暂停", kPausePicture, "正在播放"},
    {PlayState::Paused, true, "继续播放", kPlayPicture, "暂停中"},
    {PlayState::Stopped, true, "重播", kPlayPicture, "已停止"},
    {PlayState::Loading, false, "暂停", kPausePicture, "正在装载,请稍等"},
};

} // namespace

TransportBar::TransportBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlPlayFlv"));
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(50);
    buildTrack();
    buildButtons();
    hide();
    buildVolume(parent);
    buildPlayModeMenu();
    connectSignals();
}

void TransportBar::buildTrack() {
    m_track = panel(this, "pnlPlayTrackBar");
    m_track->setGeometry(0, 0, 600, 17);
    m_loadAll = panel(m_track, "pnlLoadAll");
    m_loadAll->setGeometry(kLoadBar.left, 6, kLoadBar.width, 6);
    fill(m_loadAll, Qt::white);
    m_loadPercent = panel(m_loadAll, "pnlLoadPercent");
    m_loadPercent->setGeometry(0, 0, m_load.width, 6);
    fill(m_loadPercent, QColor(0x87, 0xCE, 0xEB));
    m_knobPanel = panel(m_track, "pnlPlayPos");
    m_knobPanel->setGeometry(m_knob.left, 4, m_knob.width, 9);
    m_knobPanel->setCursor(Qt::PointingHandCursor);
}

void TransportBar::buildButtons() {
    const struct {
        QPushButton** button;
        const char* name;
        const char* hint;
        int left;
        const char* picture; // btnPlay's comes with the play state
    } buttons[] = {{&m_previous, "btnPre", "上一首", 12, "button_previous"},
                   {&m_play, "btnPlay", "播放/暂停", 46, nullptr},
                   {&m_next, "btnNext", "下一首", 80, "button_next"}};
    for (const auto& b : buttons) {
        *b.button = make<QPushButton>(this, b.name);
        (*b.button)->setGeometry(b.left, 21, 30, 24);
        (*b.button)->setToolTip(QString::fromUtf8(b.hint));
        if (b.picture)
            (*b.button)->setIcon(skinPicture(QString::fromLatin1(b.picture)));
    }
    m_status = make<QLabel>(this, "lblStatus");
    m_status->setGeometry(120, 25, 120, 16);
    m_status->setText(m_statusText);
    m_sound = make<QPushButton>(this, "btnSound");
    m_sound->setGeometry(250, 21, 30, 24);
    m_sound->setToolTip(QStringLiteral("控制音量"));
    m_sound->setIcon(imageList2(kSoundOnPicture));
    m_soundImage = make<tLxsimage>(m_sound, "imgSound");
    m_soundImage->setGeometry(0, 0, 30, 24);
    m_playModeButton = make<QToolButton>(this, "sbtnPlayMode");
    m_playModeButton->setGeometry(290, 21, 30, 24);
    m_playModeButton->setToolTip(QStringLiteral("选择节目播放方式"));
    m_playModeButton->setContextMenuPolicy(Qt::CustomContextMenu);
    m_fullScreen = make<QToolButton>(this, "sbtnFullScreen");
    m_fullScreen->setGeometry(330, 21, 30, 24);
    m_fullScreen->setToolTip(QStringLiteral("全屏播放"));
    m_fullScreen->setIcon(skinPicture(QStringLiteral("button_fullscreen")));
    m_time = make<QLabel>(this, "lblTime");
    m_time->setGeometry(480, 25, 107, 16);
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_time->setText(m_timeText);
}

void TransportBar::buildVolume(QWidget* host) {
    m_volume = panel(host, "pnlVolume");
    m_volume->setGeometry(385, 353, 30, 71);
    m_volumeSlider = make<QSlider>(m_volume, "TrackBar2");
    m_volumeSlider->setOrientation(Qt::Vertical);
    m_volumeSlider->setRange(0, kMaxVolumeLevel);
    m_volumeSlider->setGeometry(0, 0, 30, 71);
    m_volumeSlider->setToolTip(QStringLiteral("调节音量"));
    m_volume->hide();
}

void TransportBar::buildPlayModeMenu() {
    m_playModeMenu = make<QMenu>(this, "pMenuPlayMode");
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
    } modes[] = {{"N13", "循环播放", "循环播放当前列表"},
                 {"N14", "顺序播放", "按顺序播放当前列表"},
                 {"N15", "单曲循环", "循环播放当前节目"},
                 {"N16", "随机播放", ""}};
    for (const auto& m : modes) {
        const int index = int(&m - modes);
        QAction* item = m_playModeMenu->addAction(QString::fromUtf8(m.caption));
        item->setObjectName(QString::fromLatin1(m.name));
        item->setToolTip(QString::fromUtf8(m.hint));
        item->setCheckable(true);
        item->setIcon(QIcon(skinPicture(QStringLiteral("playmode_%1").arg(index))));
        connect(item, &QAction::triggered, this, [this, index] { emit playModeChosen(index); });
    }
}

void TransportBar::connectSignals() {
    connect(m_previous, &QPushButton::clicked, this, &TransportBar::previousClicked);
    connect(m_play, &QPushButton::clicked, this, &TransportBar::playClicked);
    connect(m_next, &QPushButton::clicked, this, &TransportBar::nextClicked);
    connect(m_sound, &QPushButton::clicked, this, &TransportBar::soundClicked);
    connect(m_soundImage, &tLxsimage::clicked, this, &TransportBar::soundClicked);
    connect(m_soundImage, &tLxsimage::mouseMoved, this, &TransportBar::soundHovered);
    connect(m_playModeButton, &QToolButton::clicked, this, &TransportBar::playModeClicked);
    connect(m_playModeButton, &QToolButton::customContextMenuRequested, this,
            &TransportBar::playModeClicked);
    connect(m_fullScreen, &QToolButton::clicked, this, &TransportBar::fullScreenClicked);
    connect(m_volumeSlider, &QSlider::valueChanged, this, [this](int value) {
        m_volumeLevel = kMaxVolumeLevel - value;
        emit volumeChanged(m_volumeLevel);
    });
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_track),
                       static_cast<QWidget*>(m_loadAll), static_cast<QWidget*>(m_loadPercent),
                       static_cast<QWidget*>(m_knobPanel)}) {
        w->installEventFilter(this);
        w->setMouseTracking(true);
    }
}

bool TransportBar::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return QFrame::eventFilter(watched, event);
    const int x = int(static_cast<QMouseEvent*>(event)->position().x());
    if (watched == m_knobPanel) {
        if (type == QEvent::MouseButtonPress)
            emit knobPressed(x);
        else if (type == QEvent::MouseMove)
            emit knobMoved(x);
        else if (type == QEvent::MouseButtonRelease)
            emit knobReleased();
        return true;
    }
    if (watched == m_loadPercent && type == QEvent::MouseButtonPress) {
        emit loadBarPressed(x);
        return true;
    }
    // A move the track leaves unhandled goes on to its parents: one move may be told twice.
    if ((watched == this || watched == m_track || watched == m_loadAll) &&
        type == QEvent::MouseMove)
        emit barHovered();
    return QFrame::eventFilter(watched, event);
}

void TransportBar::showPlayState(PlayState state) {
    for (const PlayStateRow& row : kPlayStates) {
        if (row.state != state)
            continue;
        m_play->setEnabled(row.enabled);
        m_play->setToolTip(QString::fromUtf8(row.hint));
        // The playlist's tick shows the state every second. A button given an icon repaints,
        // and the window then goes to the display; the same picture is not given again.
        if (row.picture != m_playPicture)
            m_play->setIcon(imageList2(row.picture));
        m_playPicture = row.picture;
        m_statusText = QString::fromUtf8(row.status);
        m_status->setText(m_statusText);
        m_playState = state;
    }
}

void TransportBar::setLoadWidth(int width) {
    m_load.width = width;
    m_loadPercent->resize(width, m_loadPercent->height());
}

void TransportBar::setLoadPercent(int percent) {
    Span load = m_load;
    setLoadBar(percent, load, kLoadBar);
    setLoadWidth(load.width);
}

void TransportBar::extendLoadToKnob() {
    const int played = m_knob.left - kLoadBar.left;
    if (played > m_load.width)
        setLoadWidth(played + 1);
}

void TransportBar::moveKnobTo(int left) {
    m_knob.left = left;
    m_knobPanel->move(left, m_knobPanel->y());
}

void TransportBar::placeKnob(int position, int total) {
    Span knob = m_knob;
    lumora::placeKnob(position, total, knob, kLoadBar);
    moveKnobTo(knob.left);
}

void TransportBar::centreKnobAt(int x) {
    moveKnobTo(knobLeftCentredAt(x, m_knob, kLoadBar));
}

void TransportBar::dragKnobBy(int dx) {
    moveKnobTo(draggedKnobLeft(m_knob, dx, kLoadBar, m_load.width));
}

int TransportBar::knobPosition(int total) const {
    return knobToPosition(total, m_knob, kLoadBar);
}

void TransportBar::resetSeekBar() {
    setLoadWidth(0);
    moveKnobTo(kLoadBar.left);
    setTimeText(Caption::InitialTime);
}

void TransportBar::setTimeText(const QString& text) {
    m_timeText = text;
    m_time->setText(text);
}

void TransportBar::setSoundOn(bool on) {
    m_soundOn = on;
    m_sound->setIcon(imageList2(on ? kSoundOnPicture : kSoundOffPicture));
    m_volumeSlider->setEnabled(on);
}

void TransportBar::setVolumeLevel(int level) {
    m_volumeSlider->setValue(kMaxVolumeLevel - level); // a change is told as volumeChanged
    m_volumeLevel = level;
}

void TransportBar::showVolume() {
    m_volume->show();
}

void TransportBar::hideVolume() {
    m_volume->hide();
}

void TransportBar::showPlayMode(int mode) {
    const QList<QAction*> items = m_playModeMenu->actions();
    for (QAction* item : items)
        item->setChecked(false);
    m_playMode = -1;
    if (mode < 0 || mode >= items.size())
        return;
    items[mode]->setChecked(true);
    m_playModeButton->setIcon(items[mode]->icon());
    m_playMode = mode;
}

void TransportBar::popUpPlayModeMenu(const QPoint& at) {
    m_playModeMenu->popup(at);
}

} // namespace lumora
