#include "xscreen.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>

XScreen::XScreen()
{
    // -displayfd: the server picks a free display and writes its number.
    m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_server.waitForStarted(5000)) {
        m_why = QStringLiteral("Xvfb did not start");
        return;
    }
    QByteArray number;
    while (!number.contains('\n') && m_server.waitForReadyRead(10000))
        number += m_server.readAllStandardOutput();
    bool ok = false;
    const int display = number.trimmed().toInt(&ok);
    if (!ok) {
        m_why = QStringLiteral("Xvfb named no display");
        return;
    }
    m_display = QStringLiteral(":%1").arg(display);
    xcb_connection_t* c = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        m_why = QStringLiteral("no connection to Xvfb %1").arg(m_display);
        return;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (xcb_generic_error_t* error =
            xcb_request_check(c, xcb_change_window_attributes_checked(c, m_root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        xcb_disconnect(c);
        m_why = QStringLiteral("another window manager holds %1").arg(m_display);
        return;
    }
    m_connection = c;
}

XScreen::~XScreen()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    m_server.terminate();
    if (!m_server.waitForFinished(5000))
        m_server.kill();
}

bool XScreen::handle(const void* generic)
{
    const auto* event = static_cast<const xcb_generic_event_t*>(generic);
    switch (event->response_type & ~0x80) {
    case XCB_MAP_REQUEST: {
        const auto* request = reinterpret_cast<const xcb_map_request_event_t*>(event);
        const uint32_t mask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, request->window, XCB_CW_EVENT_MASK, &mask);
        xcb_map_window(m_connection, request->window);
        xcb_flush(m_connection);
        return false;
    }
    case XCB_CONFIGURE_REQUEST: {
        // Granted as asked; the values go in the order of their mask bits.
        const auto* request = reinterpret_cast<const xcb_configure_request_event_t*>(event);
        uint32_t values[7];
        int n = 0;
        const uint16_t asked = request->value_mask;
        if (asked & XCB_CONFIG_WINDOW_X) values[n++] = uint32_t(request->x);
        if (asked & XCB_CONFIG_WINDOW_Y) values[n++] = uint32_t(request->y);
        if (asked & XCB_CONFIG_WINDOW_WIDTH) values[n++] = request->width;
        if (asked & XCB_CONFIG_WINDOW_HEIGHT) values[n++] = request->height;
        if (asked & XCB_CONFIG_WINDOW_BORDER_WIDTH) values[n++] = request->border_width;
        if (asked & XCB_CONFIG_WINDOW_SIBLING) values[n++] = request->sibling;
        if (asked & XCB_CONFIG_WINDOW_STACK_MODE) values[n++] = request->stack_mode;
        xcb_configure_window(m_connection, request->window, asked, values);
        xcb_flush(m_connection);
        return false;
    }
    case XCB_EXPOSE:
        return true; // only windows this watcher mapped report it
    default:
        return false;
    }
}

void XScreen::settle()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        handle(event);
        std::free(event);
    }
}

double XScreen::waitForFirstExpose(const QElapsedTimer& sinceStart)
{
    const pollfd watch{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    constexpr qint64 kLimitMs = 30000;
    while (sinceStart.elapsed() < kLimitMs && !xcb_connection_has_error(m_connection)) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const bool exposed = handle(event);
            std::free(event);
            if (exposed)
                return sinceStart.nsecsElapsed() / 1e6;
        }
        pollfd ready = watch;
        ::poll(&ready, 1, int(kLimitMs - sinceStart.elapsed()));
    }
    return -1;
}
