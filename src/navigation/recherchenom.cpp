#include "navigation/recherchenom.h"

#include "ui/flatcontrols.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace vinorium::navigation {

namespace {

// A magnifier, with a small "+" when exhausted wines are included somewhere.
QPixmap loupe(bool plus) {
    const qreal ratio = 2.0;
    QPixmap p(QSize(20, 20) * ratio);
    p.setDevicePixelRatio(ratio);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(40, 40, 40), 2.2));
    g.setBrush(QColor(255, 255, 255, 180));
    g.drawEllipse(QRectF(2.5, 2.5, 10, 10));
    g.setPen(QPen(QColor(40, 40, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(11.5, 11.5), QPointF(17, 17));
    if (plus) {
        g.setPen(QPen(QColor(160, 0, 0), 2.0));
        g.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
        g.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
    }
    return p;
}

}  // namespace

RechercheNom::RechercheNom(QWidget* parent, QWidget* hote) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlRechercheNom"));
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    const QString hintLoupe = QStringLiteral(
        "Options de recherche|Cliquer pour choisir d'inclure ou non les vins épuisés dans les recherches et "
        "les classements.");
    const auto image = [this, &hintLoupe](const char* nom, bool plus) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(nom));
        l->setPixmap(loupe(plus));
        l->setFixedSize(22, 22);
        l->setAlignment(Qt::AlignCenter);
        l->setToolTip(hintLoupe);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        return l;
    };
    imgRecherche = image("imgRecherche", false);
    imgRecherchePlus = image("imgRecherchePlus", true);
    txtRecherche = new ui::FlatEdit(this);
    txtRecherche->setObjectName(QStringLiteral("txtRecherche"));
    txtRecherche->setMaxLength(30);
    txtRecherche->setToolTip(QStringLiteral(
        "Recherche sur le nom du vin. Les caractères saisis sont recherchés dans les noms et les vins "
        "correspondants s'affichent automatiquement dans une liste déroulante."));
    txtRecherche->setPlaceholderText(QStringLiteral("Rechercher un vin par son nom"));
    h->addWidget(imgRecherche);
    h->addWidget(imgRecherchePlus);
    h->addWidget(txtRecherche, 1);

    pnlRecherche = new ui::FlatPanel(hote);
    pnlRecherche->setObjectName(QStringLiteral("pnlRecherche"));
    auto* v = new QVBoxLayout(pnlRecherche);
    v->setContentsMargins(1, 1, 1, 1);
    lstRecherche = new QListWidget(pnlRecherche);
    lstRecherche->setObjectName(QStringLiteral("lstRecherche"));
    lstRecherche->setToolTip(QStringLiteral("Noms de vins correspondant à la recherche"));
    v->addWidget(lstRecherche);
    pnlRecherche->hide();

    mnuInclureVinsEpuises = new QMenu(this);
    mnuInclureVinsEpuises->setObjectName(QStringLiteral("mnuInclureVinsEpuises"));
    const auto item = [this](const char* nom, const QString& texte) {
        QAction* a = mnuInclureVinsEpuises->addAction(texte);
        a->setObjectName(QString::fromLatin1(nom));
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, &RechercheNom::MajImageRecherche);
        return a;
    };
    mnuVinsEpuisesRechNom =
        item("mnuVinsEpuisesRechNom", QStringLiteral("Inclure les vins épuisés dans la recherche par nom"));
    mnuVinsEpuisesClassements =
        item("mnuVinsEpuisesClassements", QStringLiteral("Inclure les vins épuisés dans les classements"));
    mnuVinsEpuisesRechMulti =
        item("mnuVinsEpuisesRechMulti",
             QStringLiteral("Inclure les vins épuisés dans la recherche multicritères"));
    MajImageRecherche();
}

void RechercheNom::MajImageRecherche() {
    const bool plus = mnuVinsEpuisesRechNom->isChecked() || mnuVinsEpuisesClassements->isChecked() ||
                      mnuVinsEpuisesRechMulti->isChecked();
    imgRecherchePlus->setVisible(plus);
    imgRecherche->setVisible(!plus);
}

void RechercheNom::PlaceSuggestions() {
    QWidget* hote = pnlRecherche->parentWidget();
    const QPoint bas = mapTo(hote, QPoint(15, height()));
    pnlRecherche->setGeometry(bas.x(), bas.y(), std::max(40, width() - 15), 150);
}

bool RechercheNom::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == imgRecherche || watched == imgRecherchePlus) &&
        event->type() == QEvent::MouseButtonPress) {
        mnuInclureVinsEpuises->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RechercheNom::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceSuggestions();
}

}  // namespace vinorium::navigation
