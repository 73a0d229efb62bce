#include "app/Form1_u.h"

#include "sync/FileStatus.h"
#include "ui/Layout.h"
#include "ui/QtText.h"
#include "ui/StatusImages.h"

#include <QLabel>
#include <QStatusBar>

// Page 4 "Info": the legend of the status pictures, the version line and the status bar.

void TForm1::BuildPageInfo(QWidget* page)
{
    for (int i = 0; i < filesync::kStatusCount; ++i) {
        auto* picture = new QLabel(page);
        picture->setObjectName(QStringLiteral("ImageLegend%1").arg(i));
        picture->setPixmap(ui::StatusImage(i));
        picture->setGeometry(12, 12 + 24 * i, 16, 16);
        auto* text = new QLabel(ui::Q(filesync::StatusLegendText(i)), page);
        text->setObjectName(QStringLiteral("LabelLegend%1").arg(i));
        text->move(36, 13 + 24 * i);
        text->adjustSize();
    }
    LabelVersion = ui::AddLabel(page, "LabelVersion", QString(), 12, 220);
    LabelVersion->setFixedWidth(390);
    LMDStatusBar1 = ui::Named(new QStatusBar(page), "LMDStatusBar1");
    LMDStatusBar1->setSizeGripEnabled(false);
    LMDStatusBar1->setGeometry(0, 322, 406, 22);
    m_statusPanel = ui::Named(new QLabel(LMDStatusBar1), "LMDStatusBar1Panel");
    LMDStatusBar1->addWidget(m_statusPanel, 1);
}

void TForm1::ShowVersionLine()
{
    LabelVersion->setText(QStringLiteral("Quintor 3P (PowerPointPräsentation). Version 1.03 (22.11.2014)"));
}
