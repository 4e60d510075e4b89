#include "windows/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <cstring>

#include "core/RegularFile.h"
#include "view/Glyphs.h"

THelpWindow::THelpWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowIcon(Glyph("icon"));
    resize(560, 640);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

void THelpWindow::Open(const QString& file, const QString& topic) {
    m_topic = topic;
    const bool german = topic == QStringLiteral("Das_Spiel");
    setWindowTitle(german ? QStringLiteral("Aquendo – Spielregeln") : QStringLiteral("Aquendo – Rules"));
    // Only a plain file reaches the browser: it would wait on a FIFO for good.
    int error = 0;
    if (!OpenRegularFile(file.toStdString(), error)) {
        m_browser->setHtml(
            QStringLiteral("<h2>%1</h2><p><code>%2</code></p><p>%3</p>")
                .arg(german ? QStringLiteral("Die Hilfedatei fehlt") : QStringLiteral("The help file is missing"),
                     file.toHtmlEscaped(), QString::fromLocal8Bit(std::strerror(error)).toHtmlEscaped()));
    } else {
        QUrl url = QUrl::fromLocalFile(file);
        url.setFragment(topic);
        m_browser->setSource(url);
        m_browser->scrollToAnchor(topic);
    }
    show();
    raise();
    activateWindow();
}
