#include "startup/demarrage.h"

#include "card/frmsaisie.h"
#include "data/dialogservice.h"
#include "data/firststart.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "data/settingsstore.h"
#include "startup/frmsplash.h"
#include "ui/application.h"
#include "ui/frmchoix.h"
#include "ui/theme.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include "ui/flatcontrols.h"

namespace vinorium::startup {

namespace {

const QString kVinorium = QStringLiteral("Vinorium");
const QString kParDefaut = QStringLiteral(" (base par défaut)");

// The choice dialog takes the background, border and text colours of the
// "Cendré" theme, since no cellar theme is known yet.
void prendCouleursCendre() {
    ui::Palette& p = ui::palette();
    p.CouleurFond = QColor(223, 217, 215);
    p.CouleurMoyenne = QColor(140, 140, 157);
    p.CouleurTexte = QColor(81, 68, 81);
}

}  // namespace

std::optional<QStringList> Demarrage::ListeAliases() {
    SettingsStore store(SettingsRoot::LocalMachine);
    if (!store.openKeyReadOnly(SettingsStore::aliasesKey())) {
        return std::nullopt;
    }
    return store.keyNames();
}

void Demarrage::LitParametres() {
    Programme& p = programme();
    p.ChoixBaseDemarrage = true;
    p.DerniereBase.clear();
    SettingsStore store(SettingsRoot::CurrentUser);
    if (!store.openKeyReadOnly(SettingsStore::userKey())) {
        return;
    }
    const QString choix = store.readString(QStringLiteral("ChoixBase"));
    if (!choix.isEmpty()) {
        p.ChoixBaseDemarrage = DonneBool(choix);
    }
    p.DerniereBase = store.readString(QStringLiteral("LastBase"));
}

void Demarrage::ChoisitAlias(const QStringList& aliases) {
    Programme& p = programme();
    if (aliases.size() >= 2 && p.ChoixBaseDemarrage) {
        prendCouleursCendre();
        ui::TfrmChoix frmChoix;
        for (const QString& alias : aliases) {
            frmChoix.lstChoix->addItem(alias == kVinorium ? alias + kParDefaut : alias);
        }
        if (!p.DerniereBase.isEmpty() && aliases.contains(p.DerniereBase)) {
            frmChoix.lstChoix->setCurrentIndex(static_cast<int>(aliases.indexOf(p.DerniereBase)));
        } else {
            frmChoix.lstChoix->setCurrentIndex(-1);
        }
        frmChoix.lblChoix->setText(QStringLiteral("Sélectionner une base de vins"));
        const int r = frmChoix.Choisit();
        if (r > 0 && r <= frmChoix.lstChoix->count()) {
            p.AliasCourant = Remplace(kParDefaut, QString(), frmChoix.lstChoix->itemText(r - 1));
        }
    } else {
        p.AliasCourant = p.DerniereBase.isEmpty() ? kVinorium : p.DerniereBase;
    }
}

QString Demarrage::CheminAlias(const QString& alias) {
    return data::Database::aliasPath(alias);
}

bool Demarrage::Connecte() {
    Programme& p = programme();
    const auto essaie = [&p]() -> bool {
        try {
            p.dbBase.openAlias(p.AliasCourant);
            return true;
        } catch (const data::EngineError& e) {
            dialogs().error(QStringLiteral("Impossible de se connecter à la base de données ") +
                            Quote(p.AliasCourant) + QStringLiteral(".\n") + e.message());
            return false;
        }
    };
    if (essaie()) {
        return true;
    }
    if (p.AliasCourant == kVinorium) {
        return false;
    }
    if (dialogs().ask(
            QStringLiteral("Voulez-vous essayer de vous connecter à la base par défaut 'Vinorium' ?"),
            DialogService::Buttons::OkCancel) != DialogService::Answer::Ok) {
        return false;
    }
    p.AliasCourant = kVinorium;
    p.CheminBase = CheminAlias(kVinorium);
    return essaie();
}

std::unique_ptr<card::TfrmSaisie> Demarrage::OuvreBase() {
    Programme& p = programme();
    LitParametres();
    p.AliasCourant.clear();
    p.CheminBase.clear();
    if (const std::optional<QStringList> aliases = ListeAliases()) {
        ChoisitAlias(*aliases);
    }
    if (!p.AliasCourant.isEmpty()) {
        p.CheminBase = CheminAlias(p.AliasCourant);
    }
    if (p.CheminBase.isEmpty()) {
        p.AliasCourant = kVinorium;
        p.CheminBase = CheminAlias(kVinorium);
    }
    if (p.CheminBase.isEmpty()) {
        dialogs().error(QStringLiteral(
            "Impossible de trouver le chemin de la base de données. Essayez de réinstaller Vinorium"));
        return nullptr;
    }
    if (!QFile::exists(p.CheminBase)) {
        dialogs().error(QStringLiteral("Impossible de se connecter à la base de données \r\nLe fichier '") +
                        p.CheminBase + QStringLiteral("' est introuvable"));
        return nullptr;
    }
    if (!Connecte()) {
        p.dbBase.close();
        return nullptr;
    }
    p.DerniereBase = p.AliasCourant;
    if (!VerifieVersionBase(p.dbBase)) {
        dialogs().error(
            QStringLiteral("La base de données ") + Quote(p.AliasCourant) + QStringLiteral(" (fichier ") +
            Quote(p.CheminBase) +
            QStringLiteral(") n'est pas dans la bonne version. Essayez d'utiliser 'Migrevin' pour "
                           "mettre à jour votre base"));
        p.dbBase.close();
        return nullptr;
    }
    return std::make_unique<card::TfrmSaisie>();
}

int Demarre(QApplication& app) {
    // The report preview is the program's own; nothing to register until the
    // report engine needs a hook.
    ui::initialiseApplication(app, kVinorium);
    return Execute();
}

int Execute() {
    TfrmSplash frmSplash(0);
    frmSplash.show();
    QApplication::processEvents();

    const data::FirstStartResult installation = data::installDefaultCellarIfNeeded();
    if (installation.status == data::FirstStartResult::Status::Failed) {
        dialogs().error(installation.message);
        return 1;
    }

    Demarrage demarrage;
    std::unique_ptr<card::TfrmSaisie> frmSaisie = demarrage.OuvreBase();
    if (!frmSaisie) {
        return 1;
    }
    // The splash agrees to close four seconds after it appeared, or on a click.
    while (!frmSplash.FormCloseQuery() && frmSplash.isVisible()) {
        QEventLoop attente;
        QTimer::singleShot(50, &attente, &QEventLoop::quit);
        attente.exec();
    }
    frmSplash.close();
    frmSaisie->show();
    frmSaisie->Initialise();
    const int code = QApplication::exec();
    frmSaisie.reset();
    programme().dbBase.close();
    return code;
}

}  // namespace vinorium::startup
