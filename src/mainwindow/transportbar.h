#pragma once

#include "captions.h"
#include "playstate.h"
#include "seekbar.h"

#include <QFrame>
#include <QString>

class QLabel;
class QMenu;
class QPoint;
class QPushButton;
class QSlider;
class QToolButton;

namespace lumora {

class tLxsimage;

// The bar under the player (pnlPlayFlv): previous, play/pause, next, the status, sound, play
// mode, full screen, the time, and above them the seek track with the load bar and the knob.
// The volume panel floats over the player area, so it sits beside the bar in the bar's parent;
// only the bar drives it.
class TransportBar : public QFrame {
    Q_OBJECT
public:
    // The load bar inside the track, and the knob's width; the bar never stretches.
    static constexpr Span kLoadBar{12, 575};
    static constexpr int kKnobWidth = 6;

    explicit TransportBar(QWidget* parent);

    // The play button's picture and hint, its being enabled, and the status text.
    void showPlayState(PlayState state);
    PlayState playState() const { return m_playState; }
    // The play button pauses: the programme plays, or will once loaded.
    bool offersPause() const {
        return m_playState == PlayState::Playing || m_playState == PlayState::Loading;
    }
    const QString& statusText() const { return m_statusText; }

    // The seek track. The load bar's width in pixels, by percent of the bar (-1 leaves it).
    void setLoadPercent(int percent);
    int loadWidth() const { return m_load.width; }
    // The load bar never ends before the knob.
    void extendLoadToKnob();
    // The knob stands for position out of total, or is where a press on the load bar put it.
    void placeKnob(int position, int total);
    void centreKnobAt(int x);
    void dragKnobBy(int dx); // never past what has loaded
    int knobLeft() const { return m_knob.left; }
    int knobPosition(int total) const;
    // Nothing loaded, the knob at the start, no time.
    void resetSeekBar();

    void setTimeText(const QString& text);
    const QString& timeText() const { return m_timeText; }

    // Sound on or muted: the button's picture, and the volume slider only while on.
    void setSoundOn(bool on);
    bool soundOn() const { return m_soundOn; }
    // The volume level 0..255 the slider shows (255 at its top), remembered while muted.
    void setVolumeLevel(int level);
    int volumeLevel() const { return m_volumeLevel; }
    void showVolume();
    void hideVolume();

    // The checked play mode (its picture on the button); -1 checks none and keeps the picture.
    void showPlayMode(int mode);
    int playMode() const { return m_playMode; }
    void popUpPlayModeMenu(const QPoint& at);

signals:
    void previousClicked();
    void playClicked();
    void nextClicked();
    void soundClicked();
    void soundHovered();
    void playModeClicked();
    void playModeChosen(int mode);
    void fullScreenClicked();
    void knobPressed(int x);
    void knobMoved(int x);
    void knobReleased();
    void loadBarPressed(int x);
    void barHovered();
    void volumeChanged(int level);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTrack();
    void buildButtons();
    void buildVolume(QWidget* host);
    void buildPlayModeMenu();
    void connectSignals();
    void moveKnobTo(int left);
    void setLoadWidth(int width);

    PlayState m_playState = PlayState::Loading; // the bar shows only once a programme loads
    int m_playPicture = -1;                     // the play button's picture, none yet
    Span m_knob{kLoadBar.left, kKnobWidth};
    Span m_load{0, 0};
    QString m_statusText = Caption::LoadingStatus;
    QString m_timeText = Caption::InitialTime;
    bool m_soundOn = true;
    int m_volumeLevel = 0;
    int m_playMode = -1;

    QFrame* m_track = nullptr;
    QFrame* m_loadAll = nullptr;
    QFrame* m_loadPercent = nullptr;
    QFrame* m_knobPanel = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_next = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_sound = nullptr;
    tLxsimage* m_soundImage = nullptr;
    QToolButton* m_playModeButton = nullptr;
    QToolButton* m_fullScreen = nullptr;
    QLabel* m_time = nullptr;
    QFrame* m_volume = nullptr;
    QSlider* m_volumeSlider = nullptr;
    QMenu* m_playModeMenu = nullptr;
};

} // namespace lumora
