#include "data/requetes.h"

#include "data/dialogservice.h"
#include "data/programme.h"

#include <QDate>
#include <QLocale>

namespace vinorium {

QString TexteErreurSQL(const QString& sql, const QString& message) {
    return QStringLiteral("Erreur SQL : ") + sql + QStringLiteral("\n\r") + message;
}

namespace {

template <typename Run>
void runReporting(data::Query& query, const QString& sql, Run run) {
    try {
        query.close();
        query.clear();
        query.addLine(sql);
        run();
    } catch (const data::EngineError& e) {
        query.close();
        dialogs().error(TexteErreurSQL(sql, e.message()));
    }
}

}  // namespace

void OuvreRequete(data::Query& query, const QString& sql) {
    runReporting(query, sql, [&query] {
        query.open();
        query.first();
    });
}

void ExecuteRequete(data::Query& query, const QString& sql) {
    runReporting(query, sql, [&query] { query.execSql(); });
}

bool VerifieVersionBase(data::Database& database) {
    try {
        data::Query temporaire(&database);
        temporaire.setSql(QStringLiteral("SELECT * FROM Version"));
        temporaire.open();
        temporaire.first();
        programme().VersionBase = static_cast<int>(temporaire.field(QStringLiteral("Version")).asInteger());
        return programme().VersionBase == 30;
    } catch (const data::EngineError&) {
        return false;
    }
}

void RemplitChainesSQL(QStringList& strings, const QString& sql) {
    strings.clear();
    data::Query* query = programme().qryGeneral;
    if (!query) {
        throw data::EngineError(QStringLiteral("Aucune requête générale n'est disponible."));
    }
    query->close();
    query->setSql(sql);
    query->open();
    while (!query->eof()) {
        strings << query->field(0).asString();
        query->next();
    }
    query->close();
}

QString DonneLibelleChampPerso(const QString& nom) {
    data::Query* query = programme().qryGeneral;
    if (!query) {
        return nom;
    }
    OuvreRequete(*query,
                 QStringLiteral("SELECT Libelle FROM ChampsPerso WHERE Nom = '") + nom + QStringLiteral("'"));
    QString libelle = nom;
    if (query->isActive() && !query->eof()) {
        libelle = query->field(QStringLiteral("Libelle")).asString();
    }
    query->close();
    return libelle;
}

QString DonneFiltreQuantite(bool inclureEpuises, int options) {
    QString filtre =
        inclureEpuises ? QStringLiteral("(QuantiteRestante >= 0)") : QStringLiteral("(QuantiteRestante > 0)");
    if (options & AndAvant) {
        filtre = QStringLiteral(" AND ") + filtre;
    }
    if (options & AndApres) {
        filtre += QStringLiteral(" AND ");
    }
    if (options & WhereAvant) {
        filtre = QStringLiteral(" WHERE ") + filtre;
    }
    return filtre;
}

QString DonneBoolSQL(bool b) {
    return b ? QStringLiteral("-1") : QStringLiteral("0");
}

bool DonneBool(const QString& texte) {
    return !(texte.isEmpty() || texte == QLatin1String("0"));
}

int DonneBoolEntier(bool b) {
    return b ? -1 : 0;
}

bool EstNumerique(const QString& texte, bool entier) {
    if (texte.isEmpty()) {
        return true;
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const QString t = texte.trimmed();
    if (entier) {
        locale.toInt(t, &ok);
    } else {
        locale.toDouble(t, &ok);
    }
    return ok;
}

QString DonneFormatDate(const QString& jour, const QString& mois, const QString& annee,
                        const QString& formatDateCourt) {
    QString format =
        (formatDateCourt.isEmpty() ? QLocale().dateFormat(QLocale::ShortFormat) : formatDateCourt).toLower();
    const QDate today = QDate::currentDate();
    const QString a = annee.isEmpty() ? today.toString(QStringLiteral("yy")) : annee;
    const QString m = mois.isEmpty() ? today.toString(QStringLiteral("MM")) : mois;
    const QString j = jour.isEmpty() ? today.toString(QStringLiteral("dd")) : jour;
    const auto replaceFirst = [&format](const QString& pattern, const QString& value) {
        const qsizetype at = format.indexOf(pattern);
        if (at >= 0) {
            format.replace(at, pattern.size(), value);
        }
    };
    replaceFirst(QStringLiteral("yyyy"), a);
    replaceFirst(QStringLiteral("yy"), a);
    replaceFirst(QStringLiteral("mm"), m);
    replaceFirst(QStringLiteral("m"), m);
    replaceFirst(QStringLiteral("dd"), j);
    replaceFirst(QStringLiteral("d"), j);
    return format;
}

QString Remplace(const QString& cherche, const QString& remplacement, const QString& texte) {
    if (cherche.isEmpty()) {
        return texte;
    }
    QString resultat = texte;
    return resultat.replace(cherche, remplacement);
}

int PosApres(int depart, const QString& cherche, const QString& texte) {
    const qsizetype from = depart <= 0 ? 0 : depart - 1;
    if (from > texte.size()) {
        return 0;
    }
    return static_cast<int>(texte.indexOf(cherche, from) + 1);
}

QString DoubleApostrophes(const QString& texte) {
    QString resultat = texte;
    return resultat.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString Quote(const QString& texte) {
    return QLatin1Char('\'') + DoubleApostrophes(texte) + QLatin1Char('\'');
}

bool EstDansListe(const QString& valeur, const QStringList& candidats) {
    return candidats.contains(valeur);
}

}  // namespace vinorium
