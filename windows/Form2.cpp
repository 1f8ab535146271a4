#include "Form2.h"

#include "BuildConfig.h"
#include "DesignFont.h"
#include "DesignLabel.h"
#include "LinkLabel.h"
#include "Module1.h"
#include "NoticeFile.h"
#include "NoticeReader.h"
#include "ProgramIcon.h"
#include "Twips.h"
#include "UpdateOutcome.h"
#include "WebAddresses.h"

#include <QTextDocument>

namespace {

// Tooltips take rich text by default; an address from the notice must show as it is, on one line.
QString plainToolTip(const QString &text)
{
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped()
        + QStringLiteral("</p>");
}

// The version line pushes the identifier to the right with blanks; where the stand-in face is wider
// than the designed one, its letters move closer together so the line keeps its designed width.
void fitToDesignedWidth(QLabel *label)
{
    const qreal overflow
        = QFontMetricsF(label->font()).horizontalAdvance(label->text()) - label->width();
    if (overflow <= 0)
        return;
    QFont narrower = label->font();
    narrower.setLetterSpacing(QFont::AbsoluteSpacing, -overflow / qreal(label->text().size()));
    label->setFont(narrower);
}

} // namespace

Form2::Form2(AboutSetup setup, QWidget *parent)
    : QDialog(parent)
    , m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("O programu"));
    setWindowFlags(
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(fromTwips(0, 0, 4680, 2535).size());
    setFont(designFont(8));
    createControls();
}

// Only a notice that this opening of the window downloaded is deleted.
Form2::~Form2()
{
    if (m_downloaded)
        NoticeFile::remove(m_noticeFile);
}

void Form2::createControls()
{
    const QFont linkFont = designFont(9.75, true);

    Label1 = designLabel(
        "Label1", QStringLiteral("Zlomkar 2.0."), fromTwips(840, 120, 1110, 240), this);
    Label1->setFont(linkFont);
    Label2 = designLabel("Label2", QStringLiteral("Vytvořil tým Zlomkar;info@" ZLOMKAR_WEB_DOMAIN),
        fromTwips(840, 480, 3210, 195), this);
    Label3 = designLabel("Label3", QStringLiteral("Copyright © 2026 tým Zlomkar"),
        fromTwips(840, 720, 2340, 195), this);
    Label4 = designLabel<LinkLabel>(
        "Label4", QStringLiteral(ZLOMKAR_WEB_ADDRESS), fromTwips(840, 1080, 1800, 240), this);
    Label4->setFont(linkFont);
    Label4->setCursor(Qt::WhatsThisCursor);
    connect(Label4, &LinkLabel::clicked, this,
        [this] { m_setup.openUrl(QUrl(WebAddresses::homePage)); });

    Label15 = designLabel(
        "Label15", QStringLiteral("Prosím čekejte..."), fromTwips(120, 1680, 4455, 555), this);
    Label15->setFont(designFont(8.25, true));
    Label15->setWordWrap(true);
    Label15->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette darkRed = Label15->palette();
    for (auto group : { QPalette::Active, QPalette::Inactive })
        darkRed.setColor(group, QPalette::WindowText, QColor(192, 0, 0));
    Label15->setPalette(darkRed);
    Label15->setEnabled(false);

    Label5 = designLabel("Label5",
        QStringLiteral("v2.0.") + QString(76, QLatin1Char(' ')) + QStringLiteral("Id.:90220"),
        fromTwips(120, 2280, 4455, 195), this);
    Label6 = designLabel<LinkLabel>(
        "Label6", QStringLiteral("- web programu"), fromTwips(960, 1320, 1620, 240), this);
    Label6->setFont(linkFont);
    Label6->setCursor(Qt::WhatsThisCursor);
    Label6->setToolTip(plainToolTip(programPage()));
    connect(Label6, &LinkLabel::clicked, this, [this] { m_setup.openUrl(QUrl(programPage())); });

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(fromTwips(120, 120, 480, 480));
    Image1->setPixmap(ProgramIcon::icon().pixmap(Image1->size()));

    // Names for assistive technology where a control's own text does not say what it is.
    Label4->setAccessibleName(QStringLiteral("domovská stránka ") + Label4->text());
    Label4->setAccessibleDescription(QStringLiteral("odkaz, otevře se v prohlížeči"));
    Label6->setAccessibleName(QStringLiteral("webová stránka programu"));
    Label6->setAccessibleDescription(QStringLiteral("odkaz, otevře se v prohlížeči"));
    Label15->setAccessibleDescription(QStringLiteral("stav kontroly aktualizací"));
    Label5->setAccessibleName(QStringLiteral("verze 2.0., identifikátor 90220"));
    Image1->setAccessibleName(QStringLiteral("ikona programu Zlomkar"));

    fitToDesignedWidth(Label5);
    for (QLabel *sizedToText : { Label1, Label2, Label3, static_cast<QLabel *>(Label4), Label5,
             static_cast<QLabel *>(Label6) })
        sizedToText->adjustSize();
}

int Form2::exec()
{
    load();
    return QDialog::exec();
}

void Form2::load()
{
    m_noticeFile = NoticeFile::location(m_setup.noticeFolder);
    QString updateText;
    if (m_noticeFile.isEmpty()) {
        // With nowhere to keep it, the notice is read as it came.
        updateText = NoticeReader::updateText(
            Module1::Download(m_setup.noticeAddress, m_setup.limits).value_or("").toStdString());
    } else {
        // The file is read whatever the download gave: a failed one leaves an older notice as it
        // was.
        m_downloaded = Module1::DownloadFile(m_setup.noticeAddress, m_noticeFile, m_setup.limits);
        updateText = NoticeReader::readUpdateText(m_noticeFile, m_setup.limits.bytes);
    }
    const UpdateOutcome outcome = applyNotice(updateText);
    Label15->setText(outcome.statusCaption);
    Label15->setEnabled(outcome.statusEnabled);
    UpdateFailed = outcome.UpdateFailed;
    UpdateFields = outcome.UpdateFields;
    Label6->setToolTip(plainToolTip(programPage()));
}

QString Form2::programPage() const
{
    return UpdateFailed ? WebAddresses::programPage
                        : QStringLiteral("http://www.") + UpdateFields[1];
}
