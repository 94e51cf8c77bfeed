#include "upgrade/frmmigrevin.h"

#include "data/dialogservice.h"
#include "data/engine/database.h"
#include "ui/accessibility.h"
#include "ui/flatcontrols.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace vinorium::upgrade {

TfrmMigrevin::TfrmMigrevin(QWidget* parent)
    : QDialog(parent),
      pilote_(PiloteMigrevin::Rappels{
          .ligne = [this](const QString& ligne) { AjouteLigne(ligne); },
          .efface = [this] { lstExplic->clear(); },
          .occupe = [this](bool occupe) { Occupe(occupe); },
          .info = [this](const QString& texte) { lblInfo->setText(texte); },
      }) {
    setObjectName(QStringLiteral("frmMigrevin"));
    setWindowTitle(QStringLiteral("Mise à jour de la base de données"));
    // A dialog border without close box: the window closes with "Fermer".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setMinimumSize(560, 420);

    auto* layout = new QVBoxLayout(this);

    lblReper = new QLabel(this);
    lblReper->setObjectName(QStringLiteral("lblReper"));
    lblReper->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblReper);

    // The directory list: folders only, the current one is the folder upgraded.
    modeleDossiers_ = new QFileSystemModel(this);
    modeleDossiers_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    modeleDossiers_->setRootPath(QDir::rootPath());
    dirDestin = new QTreeView(this);
    dirDestin->setObjectName(QStringLiteral("dirDestin"));
    dirDestin->setAccessibleName(QStringLiteral("Répertoire de la base de données"));
    dirDestin->setModel(modeleDossiers_);
    for (int colonne = 1; colonne < modeleDossiers_->columnCount(); ++colonne) {
        dirDestin->hideColumn(colonne);
    }
    dirDestin->header()->setAccessibleName(QStringLiteral("Dossiers"));
    dirDestin->header()->hide();
    connect(dirDestin->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& courant) {
                if (courant.isValid()) {
                    dossier_ = modeleDossiers_->filePath(courant);
                    lblReper->setText(QDir::toNativeSeparators(dossier_));
                }
            });
    layout->addWidget(dirDestin, 1);

    lstExplic = new QListWidget(this);
    lstExplic->setObjectName(QStringLiteral("lstExplic"));
    lstExplic->setAccessibleName(QStringLiteral("Déroulement de la mise à jour"));
    lstExplic->setViewMode(QListView::ListMode);
    lstExplic->setSelectionMode(QAbstractItemView::NoSelection);
    lstExplic->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstExplic->setIconSize(QSize(16, 16));
    layout->addWidget(lstExplic, 1);

    auto* bas = new QHBoxLayout;
    lblInfo = new QLabel(QStringLiteral("Prêt"), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    bas->addWidget(lblInfo, 1);
    cmdMAJ = new ui::FlatButton(QStringLiteral("&Mise à jour"), this);
    cmdMAJ->setObjectName(QStringLiteral("cmdMAJ"));
    connect(cmdMAJ, &QPushButton::clicked, this, &TfrmMigrevin::cmdMAJClick);
    bas->addWidget(cmdMAJ);
    cmdFermer = new ui::FlatButton(QStringLiteral("&Fermer"), this);
    cmdFermer->setObjectName(QStringLiteral("cmdFermer"));
    connect(cmdFermer, &QPushButton::clicked, this, &TfrmMigrevin::cmdFermerClick);
    bas->addWidget(cmdFermer);
    layout->addLayout(bas);

    ui::nameControls(this);
}

void TfrmMigrevin::setDossier(const QString& dossier) {
    dossier_ = QDir(dossier).absolutePath();
    lblReper->setText(QDir::toNativeSeparators(dossier_));
    const QModelIndex index = modeleDossiers_->index(dossier_);
    if (index.isValid()) {
        const QSignalBlocker bloque(dirDestin->selectionModel());
        dirDestin->setCurrentIndex(index);
        dirDestin->scrollTo(index);
    }
}

int TfrmMigrevin::Demarre(const QStringList& arguments) {
    const QString version = QString::number(VersionCible);
    setWindowTitle(QStringLiteral("Mise à jour de la base de données Vinorium en version ") +
                   version.left(1) + QLatin1Char('.') + version.mid(1, 1));
    if (!arguments.isEmpty()) {
        // An unquoted folder with blanks arrives as several arguments.
        QString dossier = arguments.join(QLatin1Char(' '));
        int statut = 1;
        if (!dossier.endsWith(QLatin1Char('/'))) {
            dossier += QLatin1Char('/');
        }
        if (!PiloteMigrevin::chercheBase(dossier).isEmpty()) {
            show();
            setDossier(dossier);
            cmdMAJ->setEnabled(false);
            cmdFermer->setEnabled(false);
            // The window is drawn once before the run blocks the event loop.
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            cmdMAJClick();
            using Issue = PiloteMigrevin::Issue;
            const Issue issue = derniereIssue_;
            statut =
                issue == Issue::Terminee || issue == Issue::TermineeSansCompacter || issue == Issue::DejaAJour
                    ? 0
                    : 1;
        } else {
            dialogs().error(QStringLiteral("Impossible de trouver le fichier ") +
                            QDir::toNativeSeparators(dossier) + QStringLiteral("VINORIUM.MDB"));
        }
        close();
        return statut;
    }
    // The folder of the default cellar; its "Path" names the cellar file.
    const QString chemin = data::Database::aliasPath(QStringLiteral("Vinorium"));
    const QFileInfo info(chemin);
    setDossier(chemin.isEmpty() ? QDir::homePath() : info.isDir() ? chemin : info.absolutePath());
    dialogs().modal(this, objectName());
    close();
    return 0;
}

void TfrmMigrevin::cmdMAJClick() {
    derniereIssue_ = pilote_.cmdMAJ(dossier_);
}

void TfrmMigrevin::cmdFermerClick() {
    accept();
}

void TfrmMigrevin::AjouteLigne(const QString& ligne) {
    lstExplic->addItem(ligne);
    lstExplic->scrollToBottom();
    // The run blocks the event loop: the list is laid out and painted now.
    lstExplic->doItemsLayout();
    lstExplic->viewport()->repaint();
}

void TfrmMigrevin::Occupe(bool occupe) {
    if (occupe) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
    cmdMAJ->setEnabled(!occupe);
    cmdFermer->setEnabled(!occupe);
    dirDestin->setEnabled(!occupe);
}

}  // namespace vinorium::upgrade
