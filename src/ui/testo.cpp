#include "ui/testo.h"

#include <QList>

#include "common/cp1252.h"

QString da_cp1252(std::string_view testo) {
    QString risultato;
    risultato.reserve(static_cast<qsizetype>(testo.size()));
    for (unsigned char byte : testo) {
        // Every character of the code page lies in the Basic Multilingual
        // Plane, so one QChar holds it.
        risultato.append(QChar(static_cast<char16_t>(cp1252_a_unicode(byte))));
    }
    return risultato;
}

std::optional<std::string> a_cp1252(const QString& testo) {
    std::string risultato;
    risultato.reserve(static_cast<std::size_t>(testo.size()));
    for (char32_t carattere : testo.toUcs4()) {
        const auto byte = unicode_a_cp1252(carattere);
        if (!byte) return std::nullopt;
        risultato.push_back(static_cast<char>(*byte));
    }
    return risultato;
}

std::optional<std::string> a_cp1252_crlf(const QString& testo) {
    QString normalizzato;
    normalizzato.reserve(testo.size());
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        if (c == u'\r') {
            normalizzato.append(u"\r\n");
            if (i + 1 < testo.size() && testo.at(i + 1) == u'\n') ++i;
        } else if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            normalizzato.append(u"\r\n");
        } else {
            normalizzato.append(c);
        }
    }
    return a_cp1252(normalizzato);
}

QString da_cp1252_crlf(std::string_view testo) {
    std::string normalizzato;
    normalizzato.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] == '\r') {
            normalizzato.push_back('\n');
            if (i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
        } else {
            normalizzato.push_back(testo[i]);
        }
    }
    return da_cp1252(normalizzato);
}
