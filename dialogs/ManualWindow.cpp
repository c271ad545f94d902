#include "dialogs/ManualWindow.h"

#include "core/Log.h"
#include "dialogs/WebLinks.h"

#include <QLabel>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

ManualWindow::ManualWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormManual"));
    resize(760, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("Browser_manual"));
    // Every link goes through OpenLink: the web to the browser, the manual's own pages here.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &ManualWindow::OpenLink);
    layout->addWidget(browser_, 1);

    webLink_ = new QLabel(this);
    webLink_->setObjectName(QStringLiteral("Label_manualWeb"));
    webLink_->setTextFormat(Qt::RichText);
    webLink_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    webLink_->setOpenExternalLinks(false);
    connect(webLink_, &QLabel::linkActivated, this,
            [](const QString& link) { OpenUrl(QUrl(link)); });
    layout->addWidget(webLink_);
}

QUrl ManualWindow::ManualSource(bool chinese) {
    return QUrl(chinese ? QStringLiteral("qrc:/manual/zh/manual.md")
                        : QStringLiteral("qrc:/manual/en/manual.md"));
}

void ManualWindow::SetLanguage(bool chinese, const QString& title, const QString& webLinkText) {
    if (!loaded_ || chinese != chinese_) {
        chinese_ = chinese;
        loaded_ = true;
        browser_->setSource(ManualSource(chinese), QTextDocument::MarkdownResource);
        if (browser_->document()->isEmpty())
            WriteLog(QStringLiteral("Error"), QStringLiteral("the manual ") +
                                                  ManualSource(chinese).toString() +
                                                  QStringLiteral(" is missing"));
    }
    setWindowTitle(title);
    const QUrl web = ManualUrl(chinese);
    webLink_->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                          .arg(web.toString().toHtmlEscaped(), webLinkText.toHtmlEscaped()));
    webLink_->setToolTip(web.toString());
}

void ManualWindow::ShowManual(bool chinese, const QString& title, const QString& webLinkText) {
    SetLanguage(chinese, title, webLinkText);
    show();
    raise();
    activateWindow();
}

void ManualWindow::OpenLink(const QUrl& url) {
    const QUrl target = browser_->source().resolved(url);
    if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https") ||
        target.scheme() == QLatin1String("mailto")) {
        OpenUrl(target);
        return;
    }
    if (target.path() == browser_->source().path()) {
        browser_->scrollToAnchor(target.fragment());
        return;
    }
    browser_->setSource(target, target.path().endsWith(QLatin1String(".md"))
                                    ? QTextDocument::MarkdownResource
                                    : QTextDocument::UnknownResource);
}
