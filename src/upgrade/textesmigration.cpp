#include "upgrade/textesmigration.h"

#include "data/requetes.h"

#include <QRegularExpression>

#include <memory>
#include <optional>
#include <vector>

namespace vinorium::upgrade {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool estCaractereMot(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Replaces the whole word ancien (any case) by nouveau. With horsChaines the
// text between apostrophes or double quotes is copied unchanged.
QString renommeMot(const QString& texte, const QString& ancien, const QString& nouveau, bool horsChaines) {
    QString out;
    out.reserve(texte.size());
    qsizetype i = 0;
    const qsizetype n = texte.size();
    while (i < n) {
        const QChar c = texte.at(i);
        if (horsChaines && (c == QLatin1Char('\'') || c == QLatin1Char('"'))) {
            qsizetype j = i + 1;
            while (j < n && texte.at(j) != c) {
                ++j;
            }
            const qsizetype fin = j < n ? j + 1 : n;
            out += texte.mid(i, fin - i);
            i = fin;
            continue;
        }
        if (estCaractereMot(c)) {
            qsizetype j = i;
            while (j < n && estCaractereMot(texte.at(j))) {
                ++j;
            }
            const QString mot = texte.mid(i, j - i);
            out += mot.compare(ancien, Qt::CaseInsensitive) == 0 ? nouveau : mot;
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

// --- The condition of a saved search, read as a small grammar -------------

struct Jeton {
    enum class Genre { Mot, MotCle, Ouvrante, Fermante, Autre };
    Genre genre = Genre::Autre;
    qsizetype debut = 0;
    qsizetype fin = 0;  // one past the last character
    QString nom;        // Mot: the last part of the name; MotCle: the keyword in capitals
};

// Cuts a condition into tokens; nothing when a literal or a bracketed name is
// not closed.
std::optional<std::vector<Jeton>> decoupe(const QString& s) {
    std::vector<Jeton> jetons;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Jeton t;
        t.debut = i;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('#')) {
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n) {
                    return std::nullopt;
                }
                if (s.at(j) == c) {
                    if (c != QLatin1Char('#') && j + 1 < n && s.at(j + 1) == c) {
                        j += 2;  // doubled quote inside the literal
                        continue;
                    }
                    break;
                }
                ++j;
            }
            t.fin = j + 1;
        } else if (c == QLatin1Char('(')) {
            t.genre = Jeton::Genre::Ouvrante;
            t.fin = i + 1;
        } else if (c == QLatin1Char(')')) {
            t.genre = Jeton::Genre::Fermante;
            t.fin = i + 1;
        } else if (c == QLatin1Char('[') || estCaractereMot(c)) {
            // A name, possibly qualified: parts joined by points, each a word or [bracketed].
            qsizetype j = i;
            bool crochets = false;
            QString partie;
            for (;;) {
                if (j < n && s.at(j) == QLatin1Char('[')) {
                    const qsizetype ferme = s.indexOf(QLatin1Char(']'), j + 1);
                    if (ferme < 0) {
                        return std::nullopt;
                    }
                    partie = s.mid(j + 1, ferme - j - 1);
                    crochets = true;
                    j = ferme + 1;
                } else if (j < n && estCaractereMot(s.at(j))) {
                    const qsizetype debutMot = j;
                    while (j < n && estCaractereMot(s.at(j))) {
                        ++j;
                    }
                    partie = s.mid(debutMot, j - debutMot);
                    crochets = false;
                } else {
                    break;
                }
                if (j < n && s.at(j) == QLatin1Char('.') && j + 1 < n &&
                    (s.at(j + 1) == QLatin1Char('[') || estCaractereMot(s.at(j + 1)))) {
                    ++j;
                    continue;
                }
                break;
            }
            t.fin = j;
            t.nom = partie;
            const QString majuscules = partie.toUpper();
            const bool seul = t.fin - t.debut == partie.size();
            if (!crochets && seul &&
                (majuscules == QLatin1String("AND") || majuscules == QLatin1String("OR") ||
                 majuscules == QLatin1String("NOT") || majuscules == QLatin1String("BETWEEN") ||
                 majuscules == QLatin1String("WHERE"))) {
                t.genre = Jeton::Genre::MotCle;
                t.nom = majuscules;
            } else {
                t.genre = Jeton::Genre::Mot;
            }
        } else {
            t.fin = i + 1;
        }
        jetons.push_back(t);
        i = t.fin;
    }
    return jetons;
}

struct Noeud {
    enum class Genre { Condition, Groupe, Non, Et, Ou };
    Genre genre = Genre::Condition;
    qsizetype premier = 0;  // first token
    qsizetype dernier = 0;  // last token
    std::vector<std::unique_ptr<Noeud>> enfants;
};

// condition := terme (OR terme)*; terme := facteur (AND facteur)*;
// facteur := NOT facteur | "(" condition ")" | comparaison. A comparaison runs
// to the next AND or OR outside parentheses (the AND of a BETWEEN included) or
// to a closing parenthesis it did not open.
class Lecteur {
  public:
    explicit Lecteur(const std::vector<Jeton>& jetons, qsizetype depart) : t_(jetons), i_(depart) {}

    std::unique_ptr<Noeud> lit() {
        auto racine = ou();
        if (!racine || i_ != static_cast<qsizetype>(t_.size())) {
            return nullptr;
        }
        return racine;
    }

  private:
    bool motCle(const char* mot) const {
        return i_ < static_cast<qsizetype>(t_.size()) && t_[i_].genre == Jeton::Genre::MotCle &&
               t_[i_].nom == QLatin1String(mot);
    }

    std::unique_ptr<Noeud> chaine(Noeud::Genre genre, const char* liant,
                                  std::unique_ptr<Noeud> (Lecteur::*element)()) {
        auto premier = (this->*element)();
        if (!premier || !motCle(liant)) {
            return premier;
        }
        auto noeud = std::make_unique<Noeud>();
        noeud->genre = genre;
        noeud->premier = premier->premier;
        noeud->enfants.push_back(std::move(premier));
        while (motCle(liant)) {
            ++i_;
            auto suivant = (this->*element)();
            if (!suivant) {
                return nullptr;
            }
            noeud->enfants.push_back(std::move(suivant));
        }
        noeud->dernier = noeud->enfants.back()->dernier;
        return noeud;
    }

    std::unique_ptr<Noeud> ou() { return chaine(Noeud::Genre::Ou, "OR", &Lecteur::et); }
    std::unique_ptr<Noeud> et() { return chaine(Noeud::Genre::Et, "AND", &Lecteur::facteur); }

    std::unique_ptr<Noeud> facteur() {
        const qsizetype n = static_cast<qsizetype>(t_.size());
        if (i_ >= n) {
            return nullptr;
        }
        if (motCle("NOT")) {
            const qsizetype debut = i_++;
            auto enfant = facteur();
            if (!enfant) {
                return nullptr;
            }
            auto noeud = std::make_unique<Noeud>();
            noeud->genre = Noeud::Genre::Non;
            noeud->premier = debut;
            noeud->dernier = enfant->dernier;
            noeud->enfants.push_back(std::move(enfant));
            return noeud;
        }
        if (t_[i_].genre == Jeton::Genre::Ouvrante) {
            const qsizetype debut = i_++;
            auto interieur = ou();
            if (interieur && i_ < n && t_[i_].genre == Jeton::Genre::Fermante) {
                const qsizetype fin = i_++;
                if (i_ >= n || t_[i_].genre == Jeton::Genre::Fermante || motCle("AND") || motCle("OR")) {
                    auto noeud = std::make_unique<Noeud>();
                    noeud->genre = Noeud::Genre::Groupe;
                    noeud->premier = debut;
                    noeud->dernier = fin;
                    noeud->enfants.push_back(std::move(interieur));
                    return noeud;
                }
            }
            // Parentheses inside a comparison ("(Prix * 2) > 10"): read it whole.
            i_ = debut;
        }
        return comparaison();
    }

    std::unique_ptr<Noeud> comparaison() {
        const qsizetype n = static_cast<qsizetype>(t_.size());
        const qsizetype debut = i_;
        int profondeur = 0;
        bool entreBetween = false;
        while (i_ < n) {
            const Jeton& t = t_[i_];
            if (profondeur == 0) {
                if (t.genre == Jeton::Genre::Fermante || motCle("OR")) {
                    break;
                }
                if (motCle("AND")) {
                    if (!entreBetween) {
                        break;
                    }
                    entreBetween = false;
                } else if (motCle("BETWEEN")) {
                    entreBetween = true;
                }
            }
            if (t.genre == Jeton::Genre::Ouvrante) {
                ++profondeur;
            } else if (t.genre == Jeton::Genre::Fermante) {
                --profondeur;
            }
            ++i_;
        }
        if (i_ == debut || profondeur != 0) {
            return nullptr;
        }
        auto noeud = std::make_unique<Noeud>();
        noeud->premier = debut;
        noeud->dernier = i_ - 1;
        return noeud;
    }

    const std::vector<Jeton>& t_;
    qsizetype i_;
};

const QStringList& colonnesEntree() {
    static const QStringList colonnes = {QStringLiteral("QuantiteEntree"), QStringLiteral("Position"),
                                         QStringLiteral("DateEntree")};
    return colonnes;
}

class Reecriture {
  public:
    Reecriture(const QString& s, const std::vector<Jeton>& jetons) : s_(s), t_(jetons) {}

    // The node without its conditions on the entry columns, or nothing when
    // none of it stays; the conditions taken go to conditions().
    std::optional<QString> sans(const Noeud& noeud) {
        if (!citeEntree(noeud)) {
            return texte(noeud);
        }
        switch (noeud.genre) {
            case Noeud::Genre::Et: {
                QStringList gardes;
                for (const auto& enfant : noeud.enfants) {
                    if (auto garde = sans(*enfant)) {
                        gardes << *garde;
                    }
                }
                if (gardes.isEmpty()) {
                    return std::nullopt;
                }
                return gardes.join(QStringLiteral(" AND "));
            }
            case Noeud::Genre::Groupe: {
                const Noeud& interieur = *noeud.enfants.front();
                if (interieur.genre == Noeud::Genre::Et || interieur.genre == Noeud::Genre::Groupe) {
                    if (auto garde = sans(interieur)) {
                        return QLatin1Char('(') + *garde + QLatin1Char(')');
                    }
                    return std::nullopt;
                }
                conditions_ << texte(noeud);
                return std::nullopt;
            }
            case Noeud::Genre::Ou:
                conditions_ << QLatin1Char('(') + texte(noeud) + QLatin1Char(')');
                return std::nullopt;
            case Noeud::Genre::Condition:
            case Noeud::Genre::Non:
                conditions_ << texte(noeud);
                return std::nullopt;
        }
        return texte(noeud);
    }

    const QStringList& conditions() const { return conditions_; }

  private:
    QString texte(const Noeud& noeud) const {
        const qsizetype debut = t_[noeud.premier].debut;
        return s_.mid(debut, t_[noeud.dernier].fin - debut);
    }

    bool citeEntree(const Noeud& noeud) const {
        for (qsizetype i = noeud.premier; i <= noeud.dernier; ++i) {
            if (t_[i].genre == Jeton::Genre::Mot &&
                colonnesEntree().contains(t_[i].nom, Qt::CaseInsensitive)) {
                return true;
            }
        }
        return false;
    }

    const QString& s_;
    const std::vector<Jeton>& t_;
    QStringList conditions_;
};

}  // namespace

QString RemplaceTout(const QString& cherche, const QString& remplacement, const QString& texte) {
    return Remplace(cherche, remplacement, texte);
}

QString RenommeColonnesEntree(const QString& texte, bool horsChaines) {
    QString s =
        renommeMot(texte, QStringLiteral("Position"), QStringLiteral("PositionEntreeSortie"), horsChaines);
    s = renommeMot(s, QStringLiteral("QuantiteEntree"), QStringLiteral("QuantiteEntreeSortie"), horsChaines);
    return renommeMot(s, QStringLiteral("DateEntree"), QStringLiteral("DateEntreeSortie"), horsChaines);
}

QString RecritConditionVersion20(const QString& chaineSql) {
    const QString s = RemplaceTout(QStringLiteral("((QuantiteRestante > 0) OR (IsNull(QuantiteEntree)))"),
                                   QStringLiteral("(QuantiteRestante > 0)"), chaineSql);
    const auto jetons = decoupe(s);
    if (!jetons || jetons->empty()) {
        return s;
    }
    qsizetype depart = 0;
    if ((*jetons)[0].genre == Jeton::Genre::MotCle && (*jetons)[0].nom == QLatin1String("WHERE")) {
        depart = 1;
        if (jetons->size() == 1) {
            return s;
        }
    }
    Lecteur lecteur(*jetons, depart);
    const auto racine = lecteur.lit();
    if (!racine) {
        return s;
    }
    Reecriture reecriture(s, *jetons);
    const std::optional<QString> reste = reecriture.sans(*racine);
    if (reecriture.conditions().isEmpty()) {
        return s;
    }
    const QString entrees =
        QStringLiteral("EXISTS (SELECT Cptr FROM [sortie cave] WHERE (Cptr = TableSource.Cptr) AND ") +
        RenommeColonnesEntree(reecriture.conditions().join(QStringLiteral(" AND ")), true) +
        QStringLiteral(" AND (QuantiteEntreeSortie > 0))");
    const QString avant = s.left((*jetons)[static_cast<size_t>(depart)].debut);
    return reste ? avant + *reste + QStringLiteral(" AND ") + entrees : avant + entrees;
}

QString TexteVirgules(const QStringList& items) {
    QStringList sortie;
    for (const QString& item : items) {
        bool entreGuillemets = false;
        for (const QChar c : item) {
            if (c.unicode() <= 0x20 || c == QLatin1Char(',') || c == QLatin1Char('"')) {
                entreGuillemets = true;
                break;
            }
        }
        if (entreGuillemets) {
            QString double_ = item;
            double_.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            sortie << QLatin1Char('"') + double_ + QLatin1Char('"');
        } else {
            sortie << item;
        }
    }
    return sortie.join(QLatin1Char(','));
}

QString ConvertitCriteres(const QString& ancienTexte) {
    QString t = RemplaceTout(QStringLiteral("ET\r\n\r\n"), QStringLiteral("ET"), ancienTexte);
    t = RemplaceTout(QStringLiteral("OU\r\n\r\n"), QStringLiteral("OU"), t);
    static const QRegularExpression finDeLigne(QStringLiteral("\r\n|\r|\n"));
    QStringList lignes = t.split(finDeLigne);
    // As a list of lines reads a text: a line break at the very end opens no line.
    if (!lignes.isEmpty() && lignes.last().isEmpty()) {
        lignes.removeLast();
    }
    if (!lignes.isEmpty() && lignes.first().isEmpty()) {
        lignes.removeFirst();
    }
    if (lignes.isEmpty()) {
        return QString();
    }
    QStringList sortie;
    QStringList critere = {QString(), QString()};
    int k = 1;
    for (const QString& ligne : lignes) {
        if (k == 4) {
            sortie << TexteVirgules(critere);
            critere = {QString()};
            k = 1;
            if (ligne != QLatin1String("ET") && ligne != QLatin1String("OU")) {
                critere << QStringLiteral("ET");
                k = 2;
            }
        } else {
            ++k;
        }
        critere << ligne;
    }
    sortie << TexteVirgules(critere);
    return sortie.join(kCrLf);
}

QString SansWhere(const QString& chaineSql) {
    qsizetype i = 0;
    while (i < chaineSql.size() && chaineSql.at(i).isSpace()) {
        ++i;
    }
    QString s = chaineSql.mid(i);
    if (s.left(5).toUpper() == QLatin1String("WHERE")) {
        s = s.mid(5);
    }
    return s;
}

}  // namespace vinorium::upgrade
