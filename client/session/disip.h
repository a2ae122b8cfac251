#pragma once
// The computer's external address as the internet sees it, from a what-is-my-IP service
// that answers a plain GET with the caller's address as text.
#include <QString>

// Address of the service; the built-in one unless a test moves it.
QString DisIpAdresi();
void SetDisIpAdresi(const QString &adres);

// The external address of the office: from there the LAN server is used.
QString OfisAdresi();
void SetOfisAdresi(const QString &adres);

struct DisIpSureleri {
    int baglanmaMs = 15000; // connect time-out
    int okumaMs = 1500;     // time-out of each read
    int beklemeMs = 1000;   // pause after a failed attempt
};

// One GET of an http:// or https:// address. True with the body when a 2xx answer
// arrived whole; false on any failure (connect, time-out, status, malformed answer).
bool DisIpSor(const QString &adres, const DisIpSureleri &sureler, QString *govde);

// Asks until an answer arrives, however many attempts that takes; blocks the calling
// thread, so it runs in the background. The answer without surrounding blanks and line
// breaks (which may leave it empty).
QString DisIpSorgula(const QString &adres, const DisIpSureleri &sureler = {});
