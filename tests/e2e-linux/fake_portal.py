#!/usr/bin/python3
"""A desktop portal with nothing but global shortcuts, for the tests.

  fake_portal.py serve            org.freedesktop.portal.Desktop on the session
                                  bus: CreateSession, BindShortcuts and the
                                  Activated/Deactivated signals, until killed
  fake_portal.py bound            the last bound shortcuts, one a line: "id=trigger"
  fake_portal.py sessions         how many sessions are open
  fake_portal.py press ID         the shortcut's Activated
  fake_portal.py release ID       its Deactivated
  fake_portal.py tap ID           both at once, as a quick tap between two polls
"""
import sys

import dbus
import dbus.service

PORTAL = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
CONTROL = "org.lumatone.FakePortal"


def sender_part(sender):
    return sender[1:].replace(".", "_")


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass


class Session(dbus.service.Object):
    def __init__(self, bus, path, portal):
        super().__init__(bus, path)
        self.path = path
        self.portal = portal

    @dbus.service.method(SESSION)
    def Close(self):
        self.portal.sessions.pop(self.path, None)
        self.remove_from_connection()

    @dbus.service.signal(SESSION)
    def Closed(self):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus):
        self.bus = bus
        self.name = dbus.service.BusName(PORTAL, bus, do_not_queue=True)
        super().__init__(self.name, PATH)
        self.sessions = {}  # path: the shortcuts bound to it, [(id, trigger)]
        self.last = None

    def respond(self, path, results):
        # The reply to the call goes out first, then the request's Response.
        from gi.repository import GLib

        def emit():
            request = Request(self.bus, path)
            request.Response(dbus.UInt32(0), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False
        GLib.idle_add(emit)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        base = sender_part(sender)
        request = "%s/request/%s/%s" % (PATH, base, options["handle_token"])
        session = "%s/session/%s/%s" % (PATH, base, options["session_handle_token"])
        Session(self.bus, session, self)
        self.sessions[session] = []
        self.respond(request, {"session_handle": dbus.String(session)})
        return dbus.ObjectPath(request)

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender=None):
        request = "%s/request/%s/%s" % (PATH, sender_part(sender), options["handle_token"])
        bound = [(str(i), str(info.get("preferred_trigger", ""))) for i, info in shortcuts]
        self.sessions[str(session)] = bound
        self.last = str(session)
        described = [(i, {"description": dbus.String(info["description"], variant_level=1),
                          "trigger_description": dbus.String(t, variant_level=1)})
                     for (i, t), (_, info) in zip(bound, shortcuts)]
        self.respond(request, {"shortcuts": dbus.Array(described, signature="(sa{sv})")})
        return dbus.ObjectPath(request)

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Deactivated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface != SHORTCUTS or name != "version":
            raise dbus.exceptions.DBusException("no such property",
                                                name="org.freedesktop.DBus.Error.UnknownProperty")
        return dbus.UInt32(1)

    @dbus.service.method(CONTROL, out_signature="as")
    def Bound(self):
        return ["%s=%s" % b for b in self.sessions.get(self.last, [])]

    @dbus.service.method(CONTROL, out_signature="u")
    def Sessions(self):
        return len(self.sessions)

    @dbus.service.method(CONTROL, in_signature="sb")
    def Emit(self, shortcut, active):
        if self.last not in self.sessions:
            raise dbus.exceptions.DBusException("no session bound")
        signal = self.Activated if active else self.Deactivated
        signal(dbus.ObjectPath(self.last), shortcut, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "serve":
        from dbus.mainloop.glib import DBusGMainLoop
        from gi.repository import GLib
        DBusGMainLoop(set_as_default=True)
        portal = Portal(dbus.SessionBus())  # noqa: F841 (kept alive by the loop)
        GLib.MainLoop().run()
        return
    control = dbus.Interface(dbus.SessionBus().get_object(PORTAL, PATH), CONTROL)
    if command == "bound":
        for line in control.Bound():
            print(line)
    elif command == "sessions":
        print(control.Sessions())
    elif command in ("press", "release", "tap") and len(sys.argv) == 3:
        if command != "release":
            control.Emit(sys.argv[2], True)
        if command != "press":
            control.Emit(sys.argv[2], False)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
