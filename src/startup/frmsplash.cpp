#include "startup/frmsplash.h"

#include "startup/frminfos.h"
#include "ui/accessibility.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QTimer>
#include <QUrl>

namespace vinorium::startup {

namespace {

constexpr int kLargeur = 397;
constexpr int kHauteur = 282;

QPixmap splashPicture() {
    QPixmap picture(kLargeur, kHauteur);
    picture.fill(Qt::black);
    QSvgRenderer renderer(QStringLiteral(":/vinorium/pictures/splash.svg"));
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(0, 0, kLargeur, kHauteur));
    return picture;
}

QLabel* overlayLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("color: #ebd3b0; background: transparent; font-size: 11px;"));
    label->adjustSize();
    return label;
}

}  // namespace

QString VersionProgramme() {
    const QString layout = QString::number(30);
    return layout.left(1) + QLatin1Char('.') + layout.mid(1, 1);
}

QString TfrmSplash::adresseMail() {
    return QStringLiteral("support@vinorium.org");
}

QString TfrmSplash::adresseWeb() {
    return QStringLiteral("https://vinorium.org");
}

TfrmSplash::TfrmSplash(int tag, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), tag_(tag) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Vinorium"));
    setFixedSize(kLargeur + 2, kHauteur + 2);
    setStyleSheet(QStringLiteral("QDialog#frmSplash { background: #2a0711; border: 1px solid #1a0409; }"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(1, 1, kLargeur, kHauteur);
    Image1->setPixmap(splashPicture());
    Image1->setScaledContents(true);
    Image1->setAccessibleName(QStringLiteral("Vinorium"));
    Image1->installEventFilter(this);

    Label1 = overlayLabel(this, QStringLiteral("Label1"), QStringLiteral("Version "));
    lblVersion = overlayLabel(this, QStringLiteral("lblVersion"), VersionProgramme());
    Label4 = overlayLabel(this, QStringLiteral("Label4"), QStringLiteral("Support :"));
    lblMail = overlayLabel(this, QStringLiteral("lblMail"), adresseMail());
    Label6 = overlayLabel(this, QStringLiteral("Label6"), QStringLiteral("Site web :"));
    lblWeb = overlayLabel(this, QStringLiteral("lblWeb"), adresseWeb());
    Label1->move(40, 200);
    lblVersion->move(40 + Label1->width(), 200);
    Label4->move(40, 232);
    lblMail->move(104, 232);
    Label6->move(40, 250);
    lblWeb->move(104, 250);
    for (QLabel* label : {Label1, lblVersion, lblMail, lblWeb}) {
        label->installEventFilter(this);
    }
    Label1->setCursor(Qt::PointingHandCursor);
    lblVersion->setCursor(Qt::PointingHandCursor);

    tmrSplash = new QTimer(this);
    tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
    tmrSplash->setSingleShot(true);
    connect(tmrSplash, &QTimer::timeout, this, &TfrmSplash::tmrSplashTimer);

    ui::nameControls(this);
}

void TfrmSplash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmSplash::FormActivate() {
    fermeturePermise_ = false;
    lblVersion->setText(VersionProgramme());
    const bool liensActifs = tag_ != 0;
    for (QLabel* label : {lblMail, lblWeb}) {
        label->setCursor(liensActifs ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    tmrSplash->stop();
    if (tag_ == 0) {
        tmrSplash->start(4000);  // from the main window, the timer never fires
    }
}

void TfrmSplash::tmrSplashTimer() {
    fermeturePermise_ = true;
    tmrSplash->stop();
}

void TfrmSplash::Image1Click() {
    fermeturePermise_ = true;
    close();
}

void TfrmSplash::lblVersionClick() {
    TfrmInfos infos(this);
    infos.Affiche();
}

void TfrmSplash::lblWebClick() {
    if (tag_ != 0) {
        QDesktopServices::openUrl(QUrl(adresseWeb()));
    }
}

void TfrmSplash::lblMailClick() {
    if (tag_ != 0) {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + adresseMail()));
    }
}

void TfrmSplash::reject() {
    if (FormCloseQuery()) {
        QDialog::reject();
    }
}

void TfrmSplash::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TfrmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Image1) {
            Image1Click();
            return true;
        }
        if (watched == lblVersion || watched == Label1) {
            lblVersionClick();
            return true;
        }
        if (watched == lblWeb) {
            lblWebClick();
            return true;
        }
        if (watched == lblMail) {
            lblMailClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vinorium::startup
