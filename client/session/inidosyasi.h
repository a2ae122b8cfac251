#pragma once
// A small INI file of our own: "[section]" and "key=value" lines in UTF-8, keys written
// exactly as given (QSettings would escape non-ASCII keys such as "hatırla"). Section and
// key names compare case-insensitively like the Windows profile functions. Comments,
// other sections and other keys survive a save (keys and values without padding).
#include <QList>
#include <QString>

class IniDosyasi {
public:
    // Reads the file. False, leaving the object empty, when the file is missing,
    // unreadable, too large, not UTF-8, or holds a line that is neither blank, a comment,
    // a section header nor a key=value pair under a section.
    bool Yukle(const QString &yol);
    // Writes the whole file atomically, readable and writable by its owner only; false
    // when it cannot be written.
    bool Kaydet(const QString &yol) const;

    bool AnahtarVar(const QString &bolum, const QString &anahtar) const;
    QString OkuMetin(const QString &bolum, const QString &anahtar, const QString &varsayilan = {}) const;
    // An integer value: 0 is false, any other integer true; anything else gives the default.
    bool OkuMantiksal(const QString &bolum, const QString &anahtar, bool varsayilan) const;

    void YazMetin(const QString &bolum, const QString &anahtar, const QString &deger);
    // Written as 1 or 0.
    void YazMantiksal(const QString &bolum, const QString &anahtar, bool deger);

private:
    struct Satir {
        QString anahtar; // empty for a comment or blank line
        QString deger;   // the value, or the whole line when anahtar is empty
    };
    struct Bolum {
        QString ad;
        QList<Satir> satirlar;
    };
    const Satir *bul(const QString &bolum, const QString &anahtar) const;
    QList<Satir> m_bas; // comments before the first section
    QList<Bolum> m_bolumler;
};
