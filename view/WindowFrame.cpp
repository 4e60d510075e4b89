#include "view/WindowFrame.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <thread>

#include <xcb/xcb.h>

namespace {

struct FrameAtoms {
    xcb_atom_t extents = XCB_ATOM_NONE;
    xcb_atom_t request = XCB_ATOM_NONE;
    xcb_atom_t supported = XCB_ATOM_NONE;
};

constexpr std::array<const char*, 3> kAtomNames = {"_NET_FRAME_EXTENTS", "_NET_REQUEST_FRAME_EXTENTS",
                                                   "_NET_SUPPORTED"};

// Asked for together and once, and early where the program can: each question
// on its own is a round trip to the X server, which a busy server answers late.
struct AtomQuestions {
    xcb_connection_t* askedOf = nullptr;
    std::array<xcb_intern_atom_cookie_t, 3> cookies{};
    xcb_connection_t* answeredBy = nullptr;
    FrameAtoms atoms;
};

AtomQuestions& Questions() {
    static AtomQuestions questions;
    return questions;
}

void AskAtoms(xcb_connection_t* connection) {
    AtomQuestions& q = Questions();
    if (q.askedOf == connection || q.answeredBy == connection) return;
    for (std::size_t i = 0; i < kAtomNames.size(); ++i)
        q.cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(kAtomNames[i])), kAtomNames[i]);
    q.askedOf = connection;
}

const FrameAtoms& Atoms(xcb_connection_t* connection) {
    AtomQuestions& q = Questions();
    if (q.answeredBy == connection) return q.atoms;
    AskAtoms(connection);
    const std::array<xcb_atom_t*, 3> into = {&q.atoms.extents, &q.atoms.request, &q.atoms.supported};
    for (std::size_t i = 0; i < kAtomNames.size(); ++i) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, q.cookies[i], nullptr);
        *into[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
    }
    q.askedOf = nullptr;
    q.answeredBy = connection;
    return q.atoms;
}

// left, right, top, bottom, as the window manager writes them.
std::optional<QMargins> Extents(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t extents) {
    const auto cookie = xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::optional<QMargins> margins;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        margins = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }
    free(reply);
    return margins;
}

// Whether what is in the root's _NET_SUPPORTED list, asked for by list.
bool Supports(xcb_connection_t* connection, xcb_get_property_cookie_t list, xcb_atom_t what) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, list, nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4 && !found; ++i) found = atoms[i] == what;
    }
    free(reply);
    return found;
}

// The frame of the program's window the window manager framed last.
std::optional<QMargins> g_lastFrame;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Sees the window manager write a window's frame once it has taken the window
// over: a window manager that does not answer the frame request writes it
// only then.
class FrameWatch : public QAbstractNativeEventFilter {
public:
    explicit FrameWatch(xcb_connection_t* connection)
        : m_connection(connection), m_extents(Atoms(connection).extents) {}

    void Watch(QWidget* window, QMargins assumed, std::function<void(QMargins)> framed) {
        m_watched[static_cast<xcb_window_t>(window->internalWinId())] = {window, assumed, std::move(framed)};
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->atom != m_extents) return false;
        const auto found = m_watched.find(change->window);
        if (found == m_watched.end()) return false;
        Watched& watched = found->second;
        // The answer to the frame request comes before the show; only the
        // frame written once the window is shown tells what it really got.
        if (watched.window && !watched.window->isVisible()) return false;
        const Watched done = std::move(watched);
        m_watched.erase(found);
        const auto frame = Extents(m_connection, change->window, m_extents);
        if (!done.window || !frame) return false;
        g_lastFrame = *frame;
        // Moved from the event loop, not from inside Qt's event handling.
        if (*frame != done.assumed)
            QMetaObject::invokeMethod(
                done.window, [framed = done.framed, margins = *frame] { framed(margins); },
                Qt::QueuedConnection);
        return false;
    }

private:
    struct Watched {
        QPointer<QWidget> window;
        QMargins assumed;
        std::function<void(QMargins)> framed;
    };
    xcb_connection_t* m_connection;
    xcb_atom_t m_extents;
    std::map<xcb_window_t, Watched> m_watched;
};

}  // namespace

void WhenFramed(QWidget* window, QMargins assumed, std::function<void(QMargins)> framed) {
    xcb_connection_t* connection = Connection();
    if (!connection || !window->isWindow()) return;
    static FrameWatch* watch = nullptr;
    if (!watch) {
        watch = new FrameWatch(connection);
        QCoreApplication::instance()->installNativeEventFilter(watch);
        QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] {
            delete watch;
            watch = nullptr;
        });
    }
    window->createWinId();
    watch->Watch(window, assumed, std::move(framed));
}

void AskFrameQuestionsAhead() {
    if (xcb_connection_t* connection = Connection()) {
        AskAtoms(connection);
        xcb_flush(connection);
    }
}

QMargins FrameMargins(QWidget* window) {
    xcb_connection_t* connection = Connection();
    if (!connection || !window->isWindow()) return {};
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return {};
    // Not winId(): that would make every child a native window as well.
    window->createWinId();
    const auto id = static_cast<xcb_window_t>(window->internalWinId());
    if (!id) return {};
    const auto [extents, request, supported] = Atoms(connection);
    // Asked before the window's frame is known, in the same round trip: wanted
    // only when it is not.
    const auto supportedList =
        xcb_get_property(connection, 0, screen->root, supported, XCB_ATOM_ATOM, 0, 4096);
    if (const auto known = Extents(connection, id, extents)) {
        xcb_discard_reply(connection, supportedList.sequence);
        return *known;
    }
    if (!Supports(connection, supportedList, request)) return g_lastFrame.value_or(QMargins());

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    // The answer is a property on the window; a window manager that is slow
    // to give it costs the start no more than this.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    do {
        if (const auto answer = Extents(connection, id, extents)) return *answer;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
    return g_lastFrame.value_or(QMargins());
}

std::optional<QPoint> ScreenPosition(QWidget* window) {
    xcb_connection_t* connection = Connection();
    if (!connection || !window->isWindow() || !window->internalWinId()) return {};
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return {};
    const auto cookie = xcb_translate_coordinates(
        connection, static_cast<xcb_window_t>(window->internalWinId()), screen->root, 0, 0);
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(connection, cookie, nullptr);
    std::optional<QPoint> at;
    if (reply) at = QPoint(reply->dst_x, reply->dst_y);
    free(reply);
    return at;
}

bool CanPlaceWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void MoveFrameTo(QWidget* window, QPoint topLeft) {
    // Once the native window exists, Qt takes a widget's move for its client
    // area as long as it has not seen the frame: the frame position is given
    // to the window as well.
    window->move(topLeft);
    if (QWindow* handle = window->windowHandle(); handle && !window->isVisible())
        handle->setFramePosition(topLeft);
}

QPoint CentredOver(QSize window, QRect over, QRect screen) {
    const QPoint at =
        over.topLeft() + QPoint((over.width() - window.width()) / 2, (over.height() - window.height()) / 2);
    return {std::clamp(at.x(), screen.left(),
                       std::max(screen.left(), screen.left() + screen.width() - window.width())),
            std::clamp(at.y(), screen.top(),
                       std::max(screen.top(), screen.top() + screen.height() - window.height()))};
}

QRect BesidePlace(QSize window, int minimumWidth, QRect beside, QRect keepInView, QRect screen) {
    constexpr int kGap = 8;
    window = window.boundedTo(screen.size());
    const int top =
        std::clamp(beside.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - window.height()));
    const int roomRight = screen.right() - beside.right() - kGap;
    const int roomLeft = beside.left() - kGap - screen.left();
    for (const int width : {window.width(), std::max(minimumWidth, std::max(roomRight, roomLeft))}) {
        if (width > window.width()) continue;
        if (width <= roomRight) return {beside.right() + 1 + kGap, top, width, window.height()};
        if (width <= roomLeft) return {beside.left() - kGap - width, top, width, window.height()};
    }
    // No room: try it against each edge and corner of the screen, and level
    // with the window, and take the place that hides least.
    const int right = std::max(screen.left(), screen.right() + 1 - window.width());
    const int bottom = std::max(screen.top(), screen.bottom() + 1 - window.height());
    QRect best;
    long long least = -1;
    for (const int x : {right, screen.left()}) {
        for (const int y : {top, screen.top(), bottom}) {
            const QRect hidden = QRect(QPoint(x, y), window) & keepInView;
            const long long area = hidden.isEmpty() ? 0 : (long long)hidden.width() * hidden.height();
            if (least < 0 || area < least) {
                least = area;
                best = {QPoint(x, y), window};
            }
        }
    }
    return best;
}
