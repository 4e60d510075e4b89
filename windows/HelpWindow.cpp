#include "windows/HelpWindow.h"

#include <unistd.h>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cstring>

#include "core/Geometry.h"
#include "core/Language.h"
#include "core/RegularFile.h"
#include "view/Glyphs.h"

namespace {

constexpr Text kTitle{"Aquendo – Spielregeln", "Aquendo – Rules"};
constexpr Text kFileMissing{"Die Hilfedatei fehlt", "The help file is missing"};

// The help's pictures: "glyph:bomb" a tool-bar glyph, "piece:3" piece type 3
// at rest as the board shows it.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QWidget* parent, QImage pieces) : QTextBrowser(parent), m_pieces(std::move(pieces)) {}

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource && name.scheme() == QStringLiteral("glyph")) {
            const qreal ratio = devicePixelRatioF();
            QPixmap glyph = Glyph(name.path()).pixmap((QSizeF(24, 24) * ratio).toSize());
            glyph.setDevicePixelRatio(ratio);
            return glyph;
        }
        if (type == QTextDocument::ImageResource && name.scheme() == QStringLiteral("piece")) {
            const int piece = name.path().toInt();
            if (piece < 1 || piece > kPieceTypes || m_pieces.isNull()) return {};
            const int cell = m_pieces.height() / kPieceTypes;
            return m_pieces.copy(0, cell * (piece - 1), cell, cell);
        }
        return QTextBrowser::loadResource(type, name);
    }

private:
    QImage m_pieces;
};

}  // namespace

THelpWindow::THelpWindow(const QImage& pieceSheet) : QWidget(nullptr, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowIcon(Glyph("icon"));
    resize(560, 640);
    m_browser = new HelpBrowser(this, pieceSheet);
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    connect(m_browser->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { m_atTopic = false; });
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { m_atTopic = false; });
}

void THelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The browser lays the text out anew for its own new size first.
    if (m_atTopic)
        QTimer::singleShot(0, this, [this] {
            if (m_atTopic) m_browser->scrollToAnchor(m_topic);
        });
}

void THelpWindow::Open(const std::string& file, const QString& topic, int language) {
    m_topic = topic;
    setWindowTitle(QString::fromUtf8(kTitle.Pick(language)));
    // Only a plain file reaches the browser: it would wait on a FIFO for good.
    // It reads it through the open descriptor, which names the file whatever
    // bytes its path holds.
    int error = 0;
    const int descriptor = OpenRegularFileDescriptor(file, error);
    if (descriptor < 0) {
        m_browser->setHtml(QStringLiteral("<h2>%1</h2><p><code>%2</code></p><p>%3</p>")
                               .arg(QString::fromUtf8(kFileMissing.Pick(language)),
                                    QString::fromLocal8Bit(file.c_str()).toHtmlEscaped(),
                                    QString::fromLocal8Bit(std::strerror(error)).toHtmlEscaped()));
    } else {
        QUrl url = QUrl::fromLocalFile(QStringLiteral("/proc/self/fd/%1").arg(descriptor));
        url.setFragment(topic);
        m_browser->setSource(url);
        ::close(descriptor);
        m_browser->scrollToAnchor(topic);
        m_atTopic = true;
    }
    show();
    raise();
    activateWindow();
}
