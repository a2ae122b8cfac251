#pragma once
// An image control that shows an animated GIF and starts, stops, shows or hides the
// animation in one call. Used on the UI thread only.
#include <QLabel>

class QBuffer;
class QMovie;

class TGifResim : public QLabel {
    Q_OBJECT
public:
    explicit TGifResim(QWidget *owner = nullptr);
    ~TGifResim() override;

    // The picture: GIF data (from a file, a resource path or bytes). Data that does not
    // decode as a GIF leaves the control without a GIF; no error is raised.
    void LoadFromFile(const QString &fileName);
    void LoadFromData(const QByteArray &data);
    bool HasGif() const;
    // Whether the GIF's frames are currently advancing.
    bool IsRunning() const;

    // Scale the frames to the control's size, keeping the aspect ratio.
    void SetProportional(bool on);

    bool Animate() const { return FAnimate; }
    void SetAnimate(bool value);

    void GosterAnim();
    void GizleDurdur();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void attach(QMovie *movie, QBuffer *buffer);
    void applyScale();

    bool FAnimate = false;
    bool FProportional = true;
    QMovie *m_movie = nullptr;
    QBuffer *m_buffer = nullptr;
};
