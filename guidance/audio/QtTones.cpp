#include "guidance/audio/QtTones.h"

#include "guidance/ToneSamples.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

QtTones::QtTones() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(sampleRate_);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;
    sink_ = std::make_unique<QAudioSink>(device, format);
}

QtTones::~QtTones() {
    if (sink_)
        sink_->stop();
}

bool QtTones::Available() const {
    return sink_ != nullptr;
}

void QtTones::Play(const std::vector<double>& pitchesHz, int ms) {
    if (!sink_)
        return;
    sink_->stop();
    buffer_.close();
    buffer_.setData(ToneSamples(pitchesHz, ms, sampleRate_));
    buffer_.open(QIODevice::ReadOnly);
    sink_->start(&buffer_);
}
