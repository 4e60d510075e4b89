#pragma once

#include <QImage>
#include <QWidget>
#include <string>

class QTextBrowser;

// The help viewer: the help file in a window of its own beside the game.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // Narrower than this, the help is made no narrower to fit beside the game.
    static constexpr int kNarrowest = 320;

    // The pictures of the pieces in the help come from this sheet, the
    // tool-bar glyphs from the game's own: the same art as the game's.
    explicit THelpWindow(const QImage& pieceSheet = {});

    // Shows the file at the topic's anchor, the window's own words in the
    // language; a file that cannot be read is said so in the window.
    void Open(const std::string& file, const QString& topic, int language);
    QString Topic() const { return m_topic; }
    QTextBrowser* Browser() const { return m_browser; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTextBrowser* m_browser = nullptr;
    QString m_topic;
    // Until the player scrolls, a new size (a tiling window manager's, after
    // the show) keeps the topic's heading at the top.
    bool m_atTopic = false;
};
