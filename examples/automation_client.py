#!/usr/bin/python3
"""A small client of Lumacet's automation service (Debian package python3-dbus).

It starts Lumacet through D-Bus activation if it is not running, opens a patient's films
from the default data file, prints their particulars, shows the window, and reads the
patient's measurements with lumacet-cli, which measures with the same engine.

    /usr/bin/python3 examples/automation_client.py "Emma Lindqvist"
"""

import subprocess
import sys

import dbus

SERVICE = "org.lumacet.Lumacet"
PREFIX = "org.lumacet.Lumacet."


def main():
    patient = sys.argv[1] if len(sys.argv) > 1 else "Emma Lindqvist"
    bus = dbus.SessionBus()
    app_object = bus.get_object(SERVICE, "/org/lumacet/Lumacet/Application")
    app = dbus.Interface(app_object, PREFIX + "Application")
    settings = dbus.Interface(app_object, "org.freedesktop.DBus.Properties")
    radiographs = dbus.Interface(bus.get_object(SERVICE, "/org/lumacet/Lumacet/Radiographs"),
                                 PREFIX + "Radiographs")

    opened = app.OpenRadiograph("", patient, "", "", "", False, timeout=60)
    print(f"Lumacet {settings.Get(PREFIX + 'Application', 'Version')}: {opened} film(s) of {patient} opened")
    for index in range(10):
        path = radiographs.Item(index)
        if path == "/":
            continue
        properties = dbus.Interface(bus.get_object(SERVICE, path), "org.freedesktop.DBus.Properties")
        film = properties.GetAll(PREFIX + "Radiograph")
        print(f"  slot {index}: {film['TypeName']}, taken {film['DateTaken']}, {film['Comments']}")
    app.SetVisible(True)

    data_file = settings.Get(PREFIX + "Application", "DefaultDataFileName")
    folder = settings.Get(PREFIX + "Application", "DefaultDataPath")
    path = data_file if data_file.startswith("/") else f"{folder}/{data_file}"
    subprocess.run(["lumacet-cli", "measure", path, "--name", patient, "--type", "Lateral Ceph"], check=False)


if __name__ == "__main__":
    main()
