"""Installs the built program into a temporary DESTDIR, as a package build does, and checks what
lands where: the program, its program folder, the desktop entry, the icons and the AppStream
metadata in the places the freedesktop standards name, each file passing its own validator.

    check_install.py <build folder> <source folder>

Nothing is installed into the machine's own system."""

import configparser
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

PREFIX = "usr"
ID = "io.github.kyxtavlo.kyxTavlo"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def run(*command, **options):
    done = subprocess.run(command, capture_output=True, text=True, **options)
    check(done.returncode == 0, f"{' '.join(map(str, command))} failed ({done.returncode}):\n"
                                f"{done.stdout}{done.stderr}")
    return done.stdout


def expected_files(source):
    """The installed files, relative to the root, as the standards lay them out."""
    program_folder = source / "resources" / "program"
    files = {f"{PREFIX}/bin/kyxtavlo",
             f"{PREFIX}/share/applications/{ID}.desktop",
             f"{PREFIX}/share/metainfo/{ID}.metainfo.xml",
             f"{PREFIX}/share/icons/hicolor/scalable/apps/kyxtavlo.svg"}
    files |= {f"{PREFIX}/share/icons/hicolor/{size}x{size}/apps/kyxtavlo.png" for size in ICON_SIZES}
    files |= {f"{PREFIX}/share/kyxtavlo/{path.relative_to(program_folder)}"
              for path in program_folder.rglob("*") if path.is_file()}
    return files


def png_size(path):
    data = path.read_bytes()
    check(data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", f"{path} is no PNG image")
    return struct.unpack(">II", data[16:24])


def desktop_entry(path):
    entry = configparser.ConfigParser(interpolation=None, strict=True)
    entry.optionxform = str  # keys are case-sensitive
    entry.read(path, encoding="utf-8")
    return entry["Desktop Entry"]


def readme_pictures(source):
    """The pictures of docs/images that the README shows."""
    readme = (source / "README.md").read_text(encoding="utf-8")
    return set(re.findall(r"!\[[^\]]*\]\(docs/images/([^)/]+\.png)\)", readme))


def main(build, source):
    with tempfile.TemporaryDirectory(prefix="kyx-install.") as temporary:
        root = Path(temporary)
        run("cmake", "--install", build, "--prefix", f"/{PREFIX}", env={**os.environ, "DESTDIR": temporary})
        installed = {str(path.relative_to(root)) for path in root.rglob("*") if not path.is_dir()}
        expected = expected_files(source)
        check(installed == expected, f"the installation differs from the layout:\n"
                                     f"  missing: {sorted(expected - installed)}\n"
                                     f"  not expected: {sorted(installed - expected)}")
        usr = root / PREFIX
        share = usr / "share"

        # The program runs, and the program folder is the source's, byte for byte, scripts runnable.
        check(os.access(usr / "bin" / "kyxtavlo", os.X_OK), "the installed program cannot be run")
        program_folder = source / "resources" / "program"
        for path in program_folder.rglob("*"):
            if path.is_file():
                copy = share / "kyxtavlo" / path.relative_to(program_folder)
                check(copy.read_bytes() == path.read_bytes(), f"{copy} differs from {path}")
                check(os.access(copy, os.X_OK) == os.access(path, os.X_OK),
                      f"{copy} does not keep whether it may be run")

        for size in ICON_SIZES:
            icon = share / "icons" / "hicolor" / f"{size}x{size}" / "apps" / "kyxtavlo.png"
            check(png_size(icon) == (size, size), f"{icon} is {png_size(icon)}, not {size}x{size}")
        check((share / "icons/hicolor/scalable/apps/kyxtavlo.svg").read_bytes()
              == (source / "resources/icons/kyxtavlo.svg").read_bytes(),
              "the scalable icon is not the one the windows show")

        desktop_file = share / "applications" / f"{ID}.desktop"
        run("desktop-file-validate", desktop_file)
        entry = desktop_entry(desktop_file)
        check(entry["Exec"] == "kyxtavlo %F", f"the desktop entry runs {entry['Exec']!r}")
        check(entry["Icon"] == "kyxtavlo", f"the desktop entry shows the icon {entry['Icon']!r}")
        check(entry["Name"] == "kyxTavlo" and entry["Comment"] == "Rediger tekst- og RTF-dokumenter",
              f"the desktop entry names the program {entry['Name']!r}, {entry['Comment']!r}")
        types = entry["MimeType"].rstrip(";").split(";")
        check({"text/plain", "application/rtf"} <= set(types), f"the desktop entry opens only {types}")
        check({"Utility", "TextEditor"} <= set(entry["Categories"].rstrip(";").split(";")),
              f"the desktop entry has the categories {entry['Categories']!r}")

        metainfo = share / "metainfo" / f"{ID}.metainfo.xml"
        run("appstreamcli", "validate", "--no-net", metainfo)
        component = ElementTree.parse(metainfo).getroot()
        check(component.findtext("launchable") == desktop_file.name,
              f"the AppStream metadata launches {component.findtext('launchable')!r}")
        check("".join(component.find("description").itertext()).strip(),
              "the AppStream metadata has no description")
        images = [image.text for image in component.iter("image")]
        shown = {url.rsplit("/docs/images/", 1)[-1] for url in images}
        check(all("/docs/images/" in url for url in images) and shown == readme_pictures(source),
              f"the AppStream screenshots {images} are not the README's pictures {readme_pictures(source)}")
    print("PASS install layout")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        fail("usage: check_install.py <build folder> <source folder>")
    main(Path(sys.argv[1]), Path(sys.argv[2]))
