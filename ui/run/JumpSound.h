#pragma once

#include <memory>

class QSoundEffect;

// The short sounds of the display for the athlete: one for each stored jump, one for the end
// of a series. Where the computer has no sound output (or the sound cannot be loaded) they
// stay silent, without a message: the sound is a help, never a condition of a run.
class JumpSound {
public:
    JumpSound();
    ~JumpSound();

    void setOn(bool on) { on_ = on; }
    bool isOn() const { return on_; }
    // Whether a sound can be heard at all on this computer.
    bool available() const;

    void jumpStored();
    void seriesEnded();

private:
    bool on_ = true;
    std::unique_ptr<QSoundEffect> jump_;
    std::unique_ptr<QSoundEffect> end_;
};
