"""What the package checks share: their arguments, finding the package, and the verdict."""
import argparse
import os


def arguments(description):
    """The arguments every check takes: where CPack made the package, and the names it carries."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--dir", required=True, help="where the package was made")
    parser.add_argument("--name", required=True, help="the package name (CPACK_PACKAGE_NAME)")
    parser.add_argument("--product", required=True, help="the product name (PROJECT_NAME)")
    parser.add_argument("--version", required=True, help="the package version")
    return parser


def find(folder, file_name):
    """The package's path, or None (saying what the folder holds instead)."""
    path = os.path.join(folder, file_name)
    if not os.path.isfile(path):
        print("no package %s; the folder holds %s" % (path, sorted(os.listdir(folder))))
        return None
    print("%s: %d bytes" % (file_name, os.path.getsize(path)))
    return path


def verdict(failures):
    """Prints each failure; the exit code."""
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0
