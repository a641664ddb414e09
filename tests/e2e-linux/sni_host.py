#!/usr/bin/python3
"""A status notifier host for the tests, over the session bus.

  sni_host.py serve          the watcher (org.kde.StatusNotifierWatcher): takes
                             items, drops those whose owner leaves, until killed
  sni_host.py items          the registered items, one a line: "item pid"
  sni_host.py menu           the shown labels of the last item's menu, one a line
  sni_host.py click LABEL    chooses that item of the menu, as a host does
  sni_host.py activate       a plain click on the icon: the item's Activate
"""
import sys

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"

# Qt reads the watcher's properties through its introspection data.
INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
   <arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        self.items = []
        self.name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
        super().__init__(self.name, WATCHER_PATH)
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged", "org.freedesktop.DBus",
                                "org.freedesktop.DBus", "/org/freedesktop/DBus")

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        item = sender + service if service.startswith("/") else service + "/StatusNotifierItem"
        if item not in self.items:
            self.items.append(item)
            self.StatusNotifierItemRegistered(item)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, item):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": True,
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    def owner_changed(self, name, old, new):
        if new:
            return
        for item in [i for i in self.items if i.split("/", 1)[0] == name]:
            self.items.remove(item)
            self.StatusNotifierItemUnregistered(item)


def last_item(bus):
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    items = watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                        dbus_interface=dbus.PROPERTIES_IFACE)
    if not items:
        sys.exit("no item registered")
    service, _, path = str(items[-1]).partition("/")
    return bus.get_object(service, "/" + (path or "StatusNotifierItem")), service


def menu_entries(bus):
    item, service = last_item(bus)
    path = item.Get(ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
    menu = dbus.Interface(bus.get_object(service, path), MENU)
    menu.AboutToShow(0)
    _, (_, _, children) = menu.GetLayout(0, -1, [])
    for child_id, props, _ in children:
        if props.get("visible", True) and props.get("type", "standard") != "separator":
            yield int(child_id), str(props.get("label", "")), menu


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "serve":
        from dbus.mainloop.glib import DBusGMainLoop
        from gi.repository import GLib
        DBusGMainLoop(set_as_default=True)
        watcher = Watcher(dbus.SessionBus())  # noqa: F841 (kept alive by the loop)
        GLib.MainLoop().run()
        return
    bus = dbus.SessionBus()
    if command == "items":
        watcher = bus.get_object(WATCHER, WATCHER_PATH)
        daemon = dbus.Interface(bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus"),
                                "org.freedesktop.DBus")
        for item in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                dbus_interface=dbus.PROPERTIES_IFACE):
            print(item, daemon.GetConnectionUnixProcessID(str(item).split("/", 1)[0]))
    elif command == "menu":
        for _, label, _ in menu_entries(bus):
            print(label)
    elif command == "click" and len(sys.argv) == 3:
        for child_id, label, menu in menu_entries(bus):
            if label == sys.argv[2]:
                menu.Event(child_id, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))
                return
        sys.exit("no menu item " + sys.argv[2])
    elif command == "activate":
        item, _ = last_item(bus)
        item.Activate(0, 0, dbus_interface=ITEM)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
