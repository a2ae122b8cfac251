#include "gifresim.h"

#include <QBuffer>
#include <QFile>
#include <QMovie>
#include <QResizeEvent>

TGifResim::TGifResim(QWidget *owner)
    : QLabel(owner)
{
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
}

TGifResim::~TGifResim() = default;

void TGifResim::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    LoadFromData(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

void TGifResim::LoadFromData(const QByteArray &data)
{
    auto *buffer = new QBuffer(this);
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    auto *movie = new QMovie(buffer, QByteArrayLiteral("gif"), this);
    if (data.isEmpty() || !movie->isValid() || movie->frameCount() == 0) {
        delete movie;
        delete buffer;
        attach(nullptr, nullptr);
        return;
    }
    attach(movie, buffer);
}

void TGifResim::attach(QMovie *movie, QBuffer *buffer)
{
    if (m_movie) {
        m_movie->stop();
        setMovie(nullptr);
        delete m_movie;
        delete m_buffer;
    }
    m_movie = movie;
    m_buffer = buffer;
    clear();
    if (!m_movie)
        return;
    m_movie->setCacheMode(QMovie::CacheAll);
    applyScale();
    setMovie(m_movie);
    // A newly loaded picture shows its first frame; the animation starts only through a
    // later change of Animate.
    m_movie->jumpToFrame(0);
}

bool TGifResim::HasGif() const
{
    return m_movie != nullptr;
}

bool TGifResim::IsRunning() const
{
    return m_movie && m_movie->state() == QMovie::Running;
}

void TGifResim::SetProportional(bool on)
{
    FProportional = on;
    applyScale();
}

void TGifResim::SetAnimate(bool value)
{
    if (value == FAnimate)
        return;
    FAnimate = value;
    if (!m_movie)
        return;
    if (value) {
        if (m_movie->state() == QMovie::Paused)
            m_movie->setPaused(false);
        else
            m_movie->start();
    } else {
        m_movie->setPaused(true);
    }
}

void TGifResim::GosterAnim()
{
    SetAnimate(true);
    show();
}

void TGifResim::GizleDurdur()
{
    hide();
    SetAnimate(false);
}

void TGifResim::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    applyScale();
}

void TGifResim::applyScale()
{
    if (!m_movie)
        return;
    if (!FProportional || width() <= 0 || height() <= 0) {
        m_movie->setScaledSize(QSize());
        return;
    }
    QSize frame = m_movie->currentImage().size();
    if (frame.isEmpty())
        return;
    m_movie->setScaledSize(frame.scaled(size(), Qt::KeepAspectRatio));
}
