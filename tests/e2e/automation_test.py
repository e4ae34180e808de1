"""The automation service driven by a real D-Bus client, as another program would drive it.

Run inside a private session bus: dbus-run-session -- python3 automation_test.py PROGRAM EXAMPLES XML
The program is started offscreen with --automation on a copy of the example data, so the
data file can be checked afterwards.
"""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

try:
    import dbus
except ImportError:  # the Debian package python3-dbus
    print("python3-dbus is not installed: the automation test cannot run", file=sys.stderr)
    sys.exit(77)

PROGRAM, EXAMPLES, COMMITTED_XML = sys.argv[1:4]
del sys.argv[1:4]

SERVICE = "org.lumacet.Lumacet"
APPLICATION_PATH = "/org/lumacet/Lumacet/Application"
RADIOGRAPHS_PATH = "/org/lumacet/Lumacet/Radiographs"
INTERFACE = "org.lumacet.Lumacet."
PROPERTIES = "org.freedesktop.DBus.Properties"


def digest(path):
    with open(path, "rb") as data:
        return hashlib.sha256(data.read()).hexdigest()


def interfaces(xml):
    """Our interfaces of an introspection document, as comparable text."""
    found = {}
    for node in ElementTree.fromstring(xml).iter("interface"):
        name = node.get("name")
        if name.startswith(INTERFACE):
            members = sorted(
                (child.tag, child.get("name"), child.get("type", ""), child.get("access", ""),
                 tuple((arg.get("name"), arg.get("type"), arg.get("direction", "in")) for arg in child.iter("arg")))
                for child in node if child.tag in ("method", "property", "signal"))
            found[name] = members
    return found


class AutomationTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="lumacet-automation-")
        cls.data = os.path.join(cls.folder, "data")
        shutil.copytree(EXAMPLES, cls.data)
        config = os.path.join(cls.folder, "config", "lumacet")
        os.makedirs(config)
        with open(os.path.join(EXAMPLES, "lumacet.ini"), encoding="utf-8") as ini:
            settings = ini.read().replace("=.", "=" + cls.data)
        cls.settings = os.path.join(config, "lumacet.ini")
        with open(cls.settings, "w", encoding="utf-8") as ini:
            ini.write(settings)
        cls.before = digest(os.path.join(cls.data, "PATIENT.CSV"))
        environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=os.path.dirname(config),
                           XDG_RUNTIME_DIR=cls.folder)
        cls.process = subprocess.Popen([PROGRAM, "--automation"], env=environment)
        cls.bus = dbus.SessionBus()
        deadline = time.time() + 30
        while not cls.bus.name_has_owner(SERVICE):
            if time.time() > deadline or cls.process.poll() is not None:
                raise RuntimeError("the program did not take its name on the bus")
            time.sleep(0.1)
        cls.application = cls.bus.get_object(SERVICE, APPLICATION_PATH)
        cls.app = dbus.Interface(cls.application, INTERFACE + "Application")
        cls.radiographs = dbus.Interface(cls.bus.get_object(SERVICE, RADIOGRAPHS_PATH), INTERFACE + "Radiographs")

    @classmethod
    def tearDownClass(cls):
        if cls.process.poll() is None:
            cls.process.kill()
            cls.process.wait()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        self.close_all()

    def get(self, path, interface, name):
        return dbus.Interface(self.bus.get_object(SERVICE, path), PROPERTIES).Get(INTERFACE + interface, name)

    def set(self, path, name, value):
        dbus.Interface(self.bus.get_object(SERVICE, path), PROPERTIES).Set(INTERFACE + "Radiograph", name, value)

    def radiograph(self, path):
        return dbus.Interface(self.bus.get_object(SERVICE, path), INTERFACE + "Radiograph")

    def assertRefused(self, error, call, *arguments):
        with self.assertRaises(dbus.DBusException) as refused:
            call(*arguments)
        self.assertEqual(refused.exception.get_dbus_name(), error, refused.exception.get_dbus_message())
        return refused.exception.get_dbus_message()

    def open_patient(self):
        opened = self.app.OpenRadiograph("", "Emma Lindqvist", "", "", "", False, timeout=60)
        self.assertGreater(opened, 0)
        return str(self.get(RADIOGRAPHS_PATH, "Radiographs", "Current"))

    def close_all(self):
        for index in range(10):
            path = str(self.radiographs.Item(index))
            if path != "/":
                self.radiograph(path).Close(False)

    def test_1_introspection_is_the_committed_contract(self):
        with open(COMMITTED_XML, encoding="utf-8") as committed:
            expected = interfaces(committed.read())
        live = {}
        for path in (APPLICATION_PATH, RADIOGRAPHS_PATH):
            live.update(interfaces(self.bus.get_object(SERVICE, path).Introspect(
                dbus_interface="org.freedesktop.DBus.Introspectable")))
        path = self.open_patient()
        live.update(interfaces(self.bus.get_object(SERVICE, path).Introspect(
            dbus_interface="org.freedesktop.DBus.Introspectable")))
        self.assertEqual(live, expected)
        self.assertRegex(self.get(APPLICATION_PATH, "Application", "Version"), r"^\d+\.\d+\.\d+\.\d+$")
        self.close_all()

    def test_2_open_by_patient_data(self):
        cases = [  # name, comments, partial, opened
            ("Emma Lindqvist", "", False, 3),
            ("Lindqvist", "", False, 0),
            ("Lindqvist", "", True, 3),
            ("Emma Lindqvist", "Postero", True, 1),
            ("Nobody", "", True, 0),
        ]
        for name, comments, partial, opened in cases:
            with self.subTest(name=name, comments=comments, partial=partial):
                self.close_all()
                self.assertEqual(self.app.OpenRadiograph("", name, "", "", comments, partial, timeout=60), opened)
                occupied = [str(self.radiographs.Item(i)) for i in range(10)]
                self.assertEqual(sum(path != "/" for path in occupied), opened)
                self.close_all()
        self.assertEqual(self.app.OpenRadiograph(os.path.join(self.data, "NOFILE.CSV"), "", "", "", "", False), 0)

    def test_3_items_and_particulars(self):
        path = self.open_patient()
        self.assertTrue(path.startswith("/org/lumacet/Lumacet/Radiograph/"))
        for index in (-1, 9, 10, 1000):
            self.assertEqual(str(self.radiographs.Item(index)), "/")
        self.assertFalse(self.get(path, "Radiograph", "IsType"))
        self.assertEqual(self.get(path, "Radiograph", "Application"), APPLICATION_PATH)
        round_trips = [("Name", dbus.String("Emma Lind")), ("Comments", dbus.String("after treatment")),
                       ("DateOfBirth", dbus.String("2009-03-15")), ("DateTaken", dbus.String("2020-02-29")),
                       ("Sex", dbus.Boolean(False)), ("Magnification", dbus.Double(9.5))]
        for name, value in round_trips:
            with self.subTest(name=name):
                self.set(path, name, value)
                self.assertEqual(self.get(path, "Radiograph", name), value)
        refused = [("Name", dbus.String("Emma, L")), ("Comments", dbus.String("two\nlines")),
                   ("DateTaken", dbus.String("2019-02-30")), ("DateTaken", dbus.String("13.03.2018")),
                   ("Sex", dbus.String("female")), ("Magnification", dbus.Double(-100)),
                   ("Magnification", dbus.Double(float("nan"))), ("TypeName", dbus.String("Other"))]
        for name, value in refused:
            with self.subTest(refused=name, value=value):
                before = self.get(path, "Radiograph", name)
                with self.assertRaises(dbus.DBusException):
                    self.set(path, name, value)
                self.assertEqual(self.get(path, "Radiograph", name), before)
        self.close_all()

    def test_4_close_without_prompt_and_a_gone_radiograph(self):
        path = self.open_patient()
        self.set(path, "Comments", dbus.String("changed and not saved"))
        self.radiograph(path).Close(False, timeout=10)
        self.assertNotIn(path, [str(self.radiographs.Item(i)) for i in range(10)])
        gone = INTERFACE + "Error.Gone"
        self.assertRefused(gone, self.get, path, "Radiograph", "Name")
        self.assertRefused(gone, self.set, path, "Name", dbus.String("Someone"))
        self.assertRefused(gone, self.radiograph(path).SetCurrent)
        self.close_all()

    def test_5_application_calls(self):
        self.assertEqual(self.app.CreateRadiograph("NoSuchType"), -2)
        slot = self.app.CreateRadiograph("Lateral Ceph")
        self.assertGreaterEqual(slot, 0)
        self.assertEqual(self.get(str(self.radiographs.Item(slot)), "Radiograph", "TypeName"), "Lateral Ceph")
        self.app.Print(dbus.UInt32(0))
        self.assertRefused("org.freedesktop.DBus.Error.InvalidArgs", self.app.Print, dbus.UInt32(9))
        self.app.SetDefaultImagePath(self.folder)
        self.assertEqual(self.get(APPLICATION_PATH, "Application", "DefaultImagePath"), self.folder)
        self.app.SetDefaultImagePath(self.data)
        self.assertEqual(self.app.SaveIniSettings(), 0)
        with open(self.settings, encoding="utf-8") as ini:
            self.assertIn("BMP Path=" + self.data, ini.read())
        self.close_all()

    def test_6_close_ends_the_program_and_leaves_the_data_file_alone(self):
        self.open_patient()
        self.close_all()
        self.app.Close()
        self.assertEqual(self.process.wait(timeout=30), 0)
        self.assertEqual(digest(os.path.join(self.data, "PATIENT.CSV")), self.before)


if __name__ == "__main__":
    unittest.main(verbosity=2)
