#include "windows/YesNoDlg.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

#include "game/MessageTexts.h"
#include "game/Program.h"
#include "game/Shell.h"
#include "view/Glyphs.h"
#include "view/MetalStyle.h"
#include "view/ToolStrip.h"
#include "windows/Placing.h"

namespace {

struct PageLayout {
    QRect label;
    int confirmLeft;
    const char* confirmGlyph;
    int confirmAnswer;
    int refuseLeft;  // 0: one-button page
    const char* refuseGlyph;
    int refuseAnswer;
};

// Every glyph is the game's own, drawn as the tool bar's are: a smile only
// where there is something to smile about, the plain tick on the sad pages,
// and the one red cross for every refusal, Cancel included.
constexpr PageLayout kLayouts[kMessagePages] = {
    {{60, 28, 181, 17}, 92, "smile", mrOk, 0, nullptr, 0},
    {{56, 20, 189, 26}, 136, "restart", mrYes, 48, "no", mrNo},
    {{72, 20, 153, 29}, 136, "yes-exit", mrYes, 52, "no", mrCancel},
    {{56, 20, 189, 26}, 136, "restart", mrYes, 52, "no", mrNo},
    {{60, 20, 181, 33}, 92, "ok", mrOk, 0, nullptr, 0},
    {{60, 24, 181, 21}, 92, "smile", mrOk, 0, nullptr, 0},
    {{60, 20, 181, 33}, 92, "ok", mrOk, 0, nullptr, 0},
    {{60, 24, 181, 21}, 92, "smile", mrOk, 0, nullptr, 0},
    {{60, 20, 181, 33}, 92, "ok", mrOk, 0, nullptr, 0},
};

QPushButton* MakeButton(QWidget* page, int left, const QIcon& glyph, int answer, TYesNoDlg* dialog) {
    auto* button = new QPushButton(page);
    button->setGeometry(left, 68, 77, 27);
    button->setIcon(glyph);
    UseMetalStyle(button);
    // Return and Enter press the button that has the focus; the page's
    // default button takes them only while no button has it.
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, answer] { dialog->done(answer); });
    return button;
}

}  // namespace

TYesNoDlg::TYesNoDlg(QWidget* parent, std::function<int()> uiLanguage)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_uiLanguage(std::move(uiLanguage)) {
    setObjectName("YesNoDlg");
    setWindowTitle(QStringLiteral(AQUENDO_NAME));
    setFixedSize(261, 103);
    QFont font = this->font();
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);
    // The tool bar's brushed steel, not the desktop's grey under it.
    QPalette metal = ToolStrip::MetalPalette();
    metal.setBrush(QPalette::Window, QBrush(ToolStrip::Face(size())));
    setPalette(metal);
    setAutoFillBackground(true);

    m_stack = new QStackedWidget(this);
    m_stack->setGeometry(0, 0, 261, 103);
    const QIcon icon = Glyph("icon");
    for (int i = 0; i < kMessagePages; ++i) {
        const PageLayout& layout = kLayouts[i];
        Page& page = m_pages[i];
        page.widget = new QWidget(m_stack);
        page.widget->setObjectName(PageName(i + 1));
        auto* bevel = new QFrame(page.widget);
        bevel->setGeometry(8, 8, 245, 49);
        bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        auto* image = new QLabel(page.widget);
        image->setGeometry(16, 16, 32, 32);
        image->setPixmap(icon.pixmap(32, 32));
        page.label = new QLabel(page.widget);
        page.label->setGeometry(layout.label);
        page.label->setAlignment(Qt::AlignCenter);
        page.label->setWordWrap(true);
        page.confirm = MakeButton(page.widget, layout.confirmLeft, Glyph(layout.confirmGlyph),
                                  layout.confirmAnswer, this);
        if (layout.confirmAnswer == mrOk) page.confirm->setText(QStringLiteral("OK"));
        if (layout.refuseLeft != 0)
            page.refuse = MakeButton(page.widget, layout.refuseLeft, Glyph(layout.refuseGlyph),
                                     layout.refuseAnswer, this);
        m_stack->addWidget(page.widget);
    }
    m_stack->setCurrentIndex(PageLost - 1);  // built on its last page
}

int TYesNoDlg::CurrentPage() const {
    return m_stack->currentIndex() + 1;
}

int TYesNoDlg::ShowModal(int page) {
    if (page >= 1 && page <= kMessagePages) m_stack->setCurrentIndex(page - 1);
    // A dialog has one default button at a time: the shown page's confirming
    // one, which also has the focus at each opening, wherever it was left.
    QPushButton* confirm = m_pages[CurrentPage() - 1].confirm;
    confirm->setDefault(true);
    confirm->setFocus();
    if (parentWidget()) CentreOver(this, parentWidget());
    return exec();
}

void TYesNoDlg::FormActivate() {
    const int language = m_uiLanguage();
    for (int i = 0; i < kMessagePages; ++i) {
        const PageTexts texts = MessageTexts(i + 1, language);
        if (texts.label) m_pages[i].label->setText(QString::fromUtf8(texts.label));
        FitLabel(m_pages[i].label, kLayouts[i].label);
        if (texts.confirm && m_pages[i].refuse) {
            m_pages[i].confirm->setText(QString::fromUtf8(texts.confirm));
            m_pages[i].refuse->setText(QString::fromUtf8(texts.refuse));
        }
    }
}

// A text that needs more lines than its label holds (fonts differ between
// desktops) gets the room around the label's middle instead of losing a line.
void TYesNoDlg::FitLabel(QLabel* label, QRect place) {
    const int needed = label->fontMetrics()
                           .boundingRect(QRect(0, 0, place.width(), 1000), Qt::TextWordWrap, label->text())
                           .height();
    if (needed > place.height())
        place.adjust(0, -(needed - place.height() + 1) / 2, 0, (needed - place.height() + 1) / 2);
    label->setGeometry(place);
}

void TYesNoDlg::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}

// Escape presses the page's cancel button; a one-button page has none.
void TYesNoDlg::reject() {
    if (QPushButton* refuse = m_pages[CurrentPage() - 1].refuse) refuse->click();
}

// The title-bar close answers Cancel on every page.
void TYesNoDlg::closeEvent(QCloseEvent* event) {
    event->accept();
    done(mrCancel);
}
