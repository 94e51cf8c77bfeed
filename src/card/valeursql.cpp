#include "card/valeursql.h"

#include "data/requetes.h"

#include <QLocale>
#include <QStringList>

namespace vinorium::card {

namespace {

QString sansBlancs(const QString& texte) {
    qsizetype debut = 0;
    qsizetype fin = texte.size();
    while (debut < fin && texte.at(debut).unicode() <= 32) {
        ++debut;
    }
    while (fin > debut && texte.at(fin - 1).unicode() <= 32) {
        --fin;
    }
    return texte.mid(debut, fin - debut);
}

bool chiffres(const QString& texte) {
    if (texte.isEmpty()) {
        return false;
    }
    for (const QChar c : texte) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString FormateValeurSQL(const QString& valeur, TypeValeur type) {
    const QString v = sansBlancs(valeur);
    if (v.isEmpty()) {
        return QStringLiteral("Null");
    }
    switch (type) {
        case TypeValeur::Texte:
            return Quote(v);
        case TypeValeur::Option:
            return Quote(v).remove(QLatin1Char('&'));
        case TypeValeur::Date: {
            const QDate d = LitDate(v);
            if (!d.isValid()) {
                return QStringLiteral("Null");
            }
            return QLatin1Char('#') + d.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char('#');
        }
        case TypeValeur::Nombre:
            return QString(v).replace(QLatin1Char(','), QLatin1Char('.'));
    }
    return QStringLiteral("Null");
}

QDate LitDate(const QString& texte) {
    const QString format = QLocale().dateFormat(QLocale::ShortFormat).toLower();
    // The order of the parts and the separator, as the format gives them.
    QString ordre;
    QChar separateur = QLatin1Char('/');
    bool separateurTrouve = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) {
            if (!ordre.contains(c)) {
                ordre += c;
            }
        } else if (!separateurTrouve) {
            separateur = c;
            separateurTrouve = true;
        }
    }
    if (ordre.size() != 3) {
        ordre = QStringLiteral("dmy");
    }
    const QStringList parties = texte.trimmed().split(separateur);
    if (parties.size() < 2 || parties.size() > 3) {
        return {};
    }
    int jour = 0;
    int mois = 0;
    int annee = QDate::currentDate().year();
    qsizetype i = 0;
    for (const QChar quoi : ordre) {
        if (quoi == QLatin1Char('y') && parties.size() == 2) {
            continue;  // no year typed: the current one
        }
        const QString partie = parties.at(i++).trimmed();
        if (!chiffres(partie) || partie.size() > 4) {
            return {};
        }
        const int n = partie.toInt();
        if (quoi == QLatin1Char('d')) {
            jour = n;
        } else if (quoi == QLatin1Char('m')) {
            mois = n;
        } else if (partie.size() <= 2) {
            // A short year: within fifty years after today, else the century before.
            const int courante = QDate::currentDate().year();
            annee = courante / 100 * 100 + n;
            if (annee > courante + 50) {
                annee -= 100;
            } else if (annee <= courante - 50) {
                annee += 100;
            }
        } else {
            annee = n;
        }
    }
    const QDate date(annee, mois, jour);
    return date.isValid() ? date : QDate();
}

QString EcritDate(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}

}  // namespace vinorium::card
