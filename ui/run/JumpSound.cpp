// The display's sounds through Qt Multimedia, silent where there is no sound output.

#include "ui/run/JumpSound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

std::unique_ptr<QSoundEffect> effect(const QString& resource) {
    auto sound = std::make_unique<QSoundEffect>();
    sound->setSource(QUrl(resource));
    sound->setVolume(0.8f);
    return sound;
}

} // namespace

JumpSound::JumpSound() {
    // Without an output (a test machine, a computer without a sound card) no effect is made:
    // it would only complain.
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    jump_ = effect(QStringLiteral("qrc:/sounds/jump.wav"));
    end_ = effect(QStringLiteral("qrc:/sounds/end.wav"));
}

JumpSound::~JumpSound() = default;

bool JumpSound::available() const {
    return jump_ && jump_->status() != QSoundEffect::Error;
}

void JumpSound::jumpStored() {
    if (on_ && jump_ && jump_->status() == QSoundEffect::Ready)
        jump_->play();
}

void JumpSound::seriesEnded() {
    if (on_ && end_ && end_->status() == QSoundEffect::Ready)
        end_->play();
}
