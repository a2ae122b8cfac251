#pragma once
// A picture control that fetches its picture over HTTP in the background. Setting Url is
// all a window does; the picture appears when it has arrived and could be decoded, and
// nothing changes when it never does. Shown stretched proportionally and centred.
#include <QPixmap>
#include <QString>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

class TAsyncResim : public QWidget {
    Q_OBJECT
public:
    explicit TAsyncResim(QWidget *owner = nullptr);
    ~TAsyncResim() override;

    QString Url() const { return FUrl; }
    // A new address starts a download and returns at once; the same address again or an
    // empty one changes nothing on screen.
    void SetUrl(const QString &url);

    // The picture shown, null until the first good download.
    const QPixmap &Picture() const { return FPicture; }

    // Answers larger than this are dropped unread.
    static constexpr qint64 EnBuyukBoyut = 16 * 1024 * 1024;

Q_SIGNALS:
    // A download ended: the picture changed (`degisti`) or was left as it was.
    void Islendi(bool degisti);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Geldi(QNetworkReply *reply);

    QString FUrl;
    QNetworkAccessManager *FHTTPClient;
    QPixmap FPicture;
    bool iptal = false; // set while the control is being destroyed
};

// The picture address of a stock item: the image base address and the stock number.
QString StokResimAdresi(qint64 stokNo);
