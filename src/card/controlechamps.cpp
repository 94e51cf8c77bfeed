// Checks of the card's fields when they are left, and the keys of the year,
// number, price and date fields.

#include "card/fichevin.h"
#include "card/frmsaisie.h"
#include "card/valeursql.h"
#include "data/dialogservice.h"
#include "data/requetes.h"
#include "ui/flatcontrols.h"

#include <QDate>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <functional>

namespace vinorium::card {

namespace {

// Hands the events of the card's checked fields to the window.
class FiltreChamps final : public QObject {
  public:
    FiltreChamps(QObject* parent, std::function<bool(QObject*, QEvent*)> filtre)
        : QObject(parent), filtre_(std::move(filtre)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return filtre_(watched, event); }

  private:
    std::function<bool(QObject*, QEvent*)> filtre_;
};

void refuse(ui::FlatEdit* champ) {
    dialogs().warning(QStringLiteral("Format non valide"));
    champ->clear();
}

// A decimal number with the program's comma; false when it does not read.
bool litDecimal(const QString& texte, double& valeur) {
    bool ok = false;
    valeur = QLocale().toDouble(texte, &ok);
    if (!ok) {
        valeur = QString(texte).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    }
    return ok;
}

QString decimalCourt(double valeur) {
    return QString::number(valeur, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool flecheHautBas(const QKeyEvent* e) {
    return e->key() == Qt::Key_Up || e->key() == Qt::Key_Down;
}

}  // namespace

void TfrmSaisie::relieChamps() {
    filtreChamps_ = new FiltreChamps(this, [this](QObject* o, QEvent* e) { return filtreChamp(o, e); });
    FicheVin& f = *fiche;
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.lst_nom, f.lst_appellation, f.txt_millesime, f.txt_attendre, f.txt_boireAvant, f.txt_prix,
             f.txt_QuantiteRestante, f.txt_DateEntree, f.txt_DateSortie, f.txt_QuantiteEntree,
             f.txt_QuantiteSortie, f.txt_PositionEntree, f.txt_PositionSortie}) {
        w->installEventFilter(filtreChamps_);
    }
    // A region typed or picked by the user is a criterion of its own.
    connect(f.lst_region->lineEdit(), &QLineEdit::textEdited, this, &TfrmSaisie::lst_regionChange);
    connect(f.lst_region, &QComboBox::activated, this, &TfrmSaisie::lst_regionChange);
}

bool TfrmSaisie::filtreChamp(QObject* watched, QEvent* event) {
    if (!isVisible()) {
        return false;  // fields are checked while the user works in the window
    }
    FicheVin& f = *fiche;
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(event)->reason();
        if (raison == Qt::ActiveWindowFocusReason || raison == Qt::PopupFocusReason) {
            return false;  // the window lost the focus, the field was not left
        }
        if (watched == f.lst_nom) {
            lst_nomExit();
        } else if (watched == f.lst_appellation) {
            lst_appellationExit(true);
        } else if (watched == f.txt_millesime || watched == f.txt_attendre || watched == f.txt_boireAvant) {
            ValideAnnee(static_cast<ui::FlatEdit*>(watched));
        } else if (watched == f.txt_prix) {
            ValidePrix(f.txt_prix);
        } else if (watched == f.txt_QuantiteRestante) {
            ValideNumerique(f.txt_QuantiteRestante);
        } else if (watched == f.txt_DateEntree || watched == f.txt_DateSortie) {
            ValideDate(static_cast<ui::FlatEdit*>(watched));
        } else if (auto* e = qobject_cast<ui::FlatEdit*>(watched)) {
            e->setText(e->text().trimmed());  // counts and positions
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == f.txt_DateEntree || watched == f.txt_DateSortie) {
            EntreeDate(static_cast<ui::FlatEdit*>(watched));
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* e = static_cast<QKeyEvent*>(event);
    auto* champ = qobject_cast<ui::FlatEdit*>(watched);
    if (!champ) {
        return false;
    }
    if ((champ == f.txt_millesime || champ == f.txt_QuantiteRestante || champ == f.txt_QuantiteEntree ||
         champ == f.txt_QuantiteSortie || champ == f.txt_PositionEntree || champ == f.txt_PositionSortie) &&
        KeyPressNum(e)) {
        return true;
    }
    if (champ == f.txt_millesime || champ == f.txt_attendre || champ == f.txt_boireAvant ||
        champ == f.txt_QuantiteRestante || champ == f.txt_QuantiteEntree || champ == f.txt_QuantiteSortie) {
        return numeriqueKeyDown(champ, e);
    }
    if (champ == f.txt_prix) {
        return floatKeyDown(champ, e);
    }
    if (champ == f.txt_DateEntree || champ == f.txt_DateSortie) {
        return DateKeyDown(champ, e);
    }
    return false;
}

void TfrmSaisie::ValideAnnee(ui::FlatEdit* champ) {
    const QString texte = champ->text();
    if (texte.isEmpty()) {
        return;
    }
    const QDate date = LitDate(DonneFormatDate(QStringLiteral("01"), QStringLiteral("01"), texte));
    if (!date.isValid()) {
        refuse(champ);
        return;
    }
    champ->setText(QString::number(date.year()));
}

void TfrmSaisie::ValideDate(ui::FlatEdit* champ) {
    if (!champ->text().isEmpty() && !FormateDate(champ)) {
        refuse(champ);
    }
}

void TfrmSaisie::ValidePrix(ui::FlatEdit* champ) {
    const QString texte = QString(champ->text()).replace(QLatin1Char('.'), QLatin1Char(','));
    if (texte != champ->text()) {
        champ->setText(texte);
    }
    if (texte.isEmpty()) {
        return;
    }
    double valeur = 0;
    if (!litDecimal(texte, valeur)) {
        refuse(champ);
        return;
    }
    champ->setText(QString::number(valeur, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')));
}

void TfrmSaisie::ValideNumerique(ui::FlatEdit* champ) {
    if (!EstNumerique(champ->text(), true)) {
        refuse(champ);
    }
}

bool TfrmSaisie::FormateDate(ui::FlatEdit* champ) {
    QDate date = LitDate(champ->text());
    if (!date.isValid()) {
        // A day alone: of the current month and year.
        date = LitDate(DonneFormatDate(champ->text(), QString(), QString()));
    }
    if (!date.isValid()) {
        return false;
    }
    champ->setText(EcritDate(date));
    return true;
}

void TfrmSaisie::EntreeDate(ui::FlatEdit* champ) {
    if (champ->text().isEmpty()) {
        champ->setText(EcritDate(QDate::currentDate()));
    }
}

bool TfrmSaisie::KeyPressNum(QKeyEvent* event) {
    const QString texte = event->text();
    if (texte.isEmpty() || event->key() == Qt::Key_Backspace) {
        return false;
    }
    const QChar c = texte.at(0);
    if (c.unicode() < 32 || c.unicode() == 127) {
        return false;  // Tab, Enter, Escape and the control shortcuts keep their work
    }
    return !(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

bool TfrmSaisie::numeriqueKeyDown(ui::FlatEdit* champ, QKeyEvent* event) {
    if (!flecheHautBas(event) || champ->isReadOnly()) {  // the remaining stock is computed
        return false;
    }
    if (champ->text().isEmpty()) {
        champ->setText(QStringLiteral("0"));
    }
    bool ok = false;
    const int valeur = champ->text().toInt(&ok);
    if (!ok) {
        return false;
    }
    if (event->key() == Qt::Key_Up && valeur < 9999) {
        champ->setText(QString::number(valeur + 1));
        return true;
    }
    if (event->key() == Qt::Key_Down && valeur > 1) {
        champ->setText(QString::number(valeur - 1));
        return true;
    }
    return false;
}

bool TfrmSaisie::floatKeyDown(ui::FlatEdit* champ, QKeyEvent* event) {
    if (!flecheHautBas(event)) {
        return false;
    }
    if (champ->text().isEmpty()) {
        champ->setText(QStringLiteral("0"));
    }
    double valeur = 0;
    if (!litDecimal(champ->text(), valeur)) {
        return false;
    }
    const bool fin = event->modifiers().testFlag(Qt::ControlModifier);
    const double pas = fin ? 0.1 : 1.0;
    const double plancher = fin ? 0.1 : 1.0;
    const double plafond = fin ? 9999.99 : 9999.0;
    if (event->key() == Qt::Key_Up && valeur < plafond) {
        champ->setText(decimalCourt(valeur + pas));
        return true;
    }
    if (event->key() == Qt::Key_Down && valeur > plancher) {
        champ->setText(decimalCourt(valeur - pas));
        return true;
    }
    return false;
}

bool TfrmSaisie::DateKeyDown(ui::FlatEdit* champ, QKeyEvent* event) {
    if (!flecheHautBas(event)) {
        return false;
    }
    if (champ->text().isEmpty()) {
        champ->setText(EcritDate(QDate::currentDate()));
    }
    if (!FormateDate(champ)) {
        return false;
    }
    const QDate date = LitDate(champ->text());
    const int sens = event->key() == Qt::Key_Up ? 1 : -1;
    const Qt::KeyboardModifiers m = event->modifiers();
    QDate suivante;
    if (m.testFlag(Qt::ControlModifier) && m.testFlag(Qt::ShiftModifier)) {
        suivante = date.addYears(sens);  // 29 February gives the 28th in a common year
    } else if (m.testFlag(Qt::ControlModifier)) {
        suivante = date.addMonths(sens);  // the day clamped to the month's length
    } else {
        suivante = date.addDays(sens);
    }
    champ->setText(EcritDate(suivante));
    return true;
}

}  // namespace vinorium::card
