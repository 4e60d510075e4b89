#include "windows/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <cstring>

#include "core/Language.h"
#include "core/RegularFile.h"
#include "view/Glyphs.h"

namespace {

constexpr Text kTitle{"Aquendo – Spielregeln", "Aquendo – Rules"};
constexpr Text kFileMissing{"Die Hilfedatei fehlt", "The help file is missing"};

}  // namespace

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

void THelpWindow::Open(const QString& file, const QString& topic, int language) {
    m_topic = topic;
    setWindowTitle(QString::fromUtf8(kTitle.Pick(language)));
    // Only a plain file reaches the browser: it would wait on a FIFO for good.
    int error = 0;
    if (!OpenRegularFile(file.toStdString(), error)) {
        m_browser->setHtml(QStringLiteral("<h2>%1</h2><p><code>%2</code></p><p>%3</p>")
                               .arg(QString::fromUtf8(kFileMissing.Pick(language)), file.toHtmlEscaped(),
                                    QString::fromLocal8Bit(std::strerror(error)).toHtmlEscaped()));
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
