"""Builds the Debian package with CPack from the built program, checks what it holds and what it
depends on, and unpacks it with dpkg-deb -x for the real-window test that starts it from its
desktop entry.

    check_package.py <build folder> <source folder> <package folder>

The package folder is emptied first; the package is unpacked into its "root". Nothing is
installed into the machine's own system."""

import re
import shutil
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # the source tree stays clean
from check_install import check, expected_files, fail, run  # noqa: E402

# Runtime packages the program cannot do without, by the start of their names: Qt 6, Hunspell and
# its Danish dictionary.
NEEDED = ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6", "libqt6dbus6", "libqt6network6",
          "libqt6svg6", "libhunspell-", "hunspell-da")


def field(package, name):
    return run("dpkg-deb", "--field", package, name).strip()


def dependencies(package):
    """The names of every alternative of the Depends field."""
    return [re.split(r"[\s(]", alternative.strip(), maxsplit=1)[0]
            for group in field(package, "Depends").split(",") for alternative in group.split("|")]


def installed_here(name):
    done = subprocess.run(["dpkg-query", "--show", "--showformat=${Status}", name], capture_output=True, text=True)
    return done.returncode == 0 and done.stdout.endswith("installed")


def main(build, source, folder):
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    run("cpack", "-G", "DEB", "-B", folder, cwd=build)
    packages = list(folder.glob("*.deb"))
    check(len(packages) == 1, f"CPack made {[package.name for package in packages]}, not one package")
    package = packages[0]
    name = f"kyxtavlo_{field(package, 'Version')}_{field(package, 'Architecture')}.deb"
    check(package.name == name, f"the package is called {package.name}, not {name}")

    depends = dependencies(package)
    for needed in NEEDED:
        check(any(dependency.startswith(needed) for dependency in depends),
              f"the package does not depend on {needed}: {depends}")
    # Every name is a real package: the build machine has the program's runtime installed.
    missing = [dependency for dependency in depends if not installed_here(dependency)]
    check(not missing, f"the package depends on packages this system does not know as installed: {missing}")

    listing = run("dpkg-deb", "--contents", package)
    files = {line.split(None, 5)[5].removeprefix("./") for line in listing.splitlines() if not line.startswith("d")}
    expected = expected_files(source)
    check(files == expected, f"the package differs from the installation:\n"
                             f"  missing: {sorted(expected - files)}\n  not expected: {sorted(files - expected)}")

    run("dpkg-deb", "-x", package, folder / "root")
    print(f"PASS package {package.name}, unpacked into {folder / 'root'}")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        fail("usage: check_package.py <build folder> <source folder> <package folder>")
    main(Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3]))
