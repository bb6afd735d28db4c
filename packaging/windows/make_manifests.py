#!/usr/bin/env python3
"""Writes the winget manifest set and the Scoop manifest for a release, with
the SHA-256 of each artifact:

    make_manifests.py --version 1.00 --output DIR SETUP-x86 SETUP-x64 ZIP-x86 ZIP-x64

DIR/winget/Lumvrex.Lumvrex.yaml (version), .locale.en-US.yaml (default
locale), .installer.yaml (the setups, for the user or for all users, and the
zips as portable programs); DIR/scoop/lumvrex.json. The download address is
LUMVREX_DOWNLOAD_URL (default https://lumvrex.example/download/VERSION/).
"""
import argparse
import hashlib
import json
import os
import pathlib

import yaml

IDENTIFIER = "Lumvrex.Lumvrex"
PUBLISHER = "The Lumvrex developers"
DESCRIPTION = "Turns a list of pictures into a NeoBook publication script"
HOMEPAGE = "https://lumvrex.example"
MANIFEST_VERSION = "1.6.0"
# The setup's exit code while Lumvrex runs from the folder it would update.
EXIT_RUNNING = 32


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as artifact:
        for block in iter(lambda: artifact.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def write_yaml(path, schema, document):
    header = f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{schema}.{MANIFEST_VERSION}.schema.json\n\n"
    path.write_text(header + yaml.safe_dump(document, sort_keys=False, allow_unicode=True), encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("--output", required=True, type=pathlib.Path)
    parser.add_argument("setup_x86")
    parser.add_argument("setup_x64")
    parser.add_argument("zip_x86")
    parser.add_argument("zip_x64")
    arguments = parser.parse_args()
    version = arguments.version
    base = os.environ.get("LUMVREX_DOWNLOAD_URL", f"{HOMEPAGE}/download/{version}/")

    def url(path):
        return base + pathlib.Path(path).name

    def folder(zip_path):  # the zip holds one folder named as the zip
        return pathlib.Path(zip_path).stem

    installers = []
    for architecture, setup in (("x86", arguments.setup_x86), ("x64", arguments.setup_x64)):
        for scope, switch in (("user", "/CURRENTUSER"), ("machine", "/ALLUSERS")):
            installer = {
                "Architecture": architecture,
                "InstallerType": "nullsoft",
                "Scope": scope,
                "InstallerUrl": url(setup),
                "InstallerSha256": sha256(setup).upper(),
                "InstallerSwitches": {"Custom": switch},
                "ExpectedReturnCodes": [{"InstallerReturnCode": EXIT_RUNNING, "ReturnResponse": "packageInUse"}],
                "UpgradeBehavior": "install",
            }
            if scope == "machine":
                installer["ElevationRequirement"] = "elevationRequired"
            installers.append(installer)
    for architecture, archive in (("x86", arguments.zip_x86), ("x64", arguments.zip_x64)):
        installers.append({
            "Architecture": architecture,
            "InstallerType": "zip",
            "NestedInstallerType": "portable",
            "NestedInstallerFiles": [
                {"RelativeFilePath": f"{folder(archive)}\\lumvrex-cli.exe", "PortableCommandAlias": "lumvrex-cli"},
                {"RelativeFilePath": f"{folder(archive)}\\lumvrex.exe", "PortableCommandAlias": "lumvrex"},
            ],
            "InstallerUrl": url(archive),
            "InstallerSha256": sha256(archive).upper(),
        })

    winget = arguments.output / "winget"
    winget.mkdir(parents=True, exist_ok=True)
    common = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version}
    write_yaml(winget / f"{IDENTIFIER}.yaml", "version", {
        **common, "DefaultLocale": "en-US", "ManifestType": "version", "ManifestVersion": MANIFEST_VERSION})
    write_yaml(winget / f"{IDENTIFIER}.locale.en-US.yaml", "defaultLocale", {
        **common, "PackageLocale": "en-US", "Publisher": PUBLISHER, "PackageName": "Lumvrex",
        "PackageUrl": HOMEPAGE, "License": "MIT", "ShortDescription": DESCRIPTION,
        "ManifestType": "defaultLocale", "ManifestVersion": MANIFEST_VERSION})
    write_yaml(winget / f"{IDENTIFIER}.installer.yaml", "installer", {
        **common, "Installers": installers, "ManifestType": "installer", "ManifestVersion": MANIFEST_VERSION})

    scoop = arguments.output / "scoop"
    scoop.mkdir(parents=True, exist_ok=True)
    (scoop / "lumvrex.json").write_text(json.dumps({
        "version": version,
        "description": DESCRIPTION,
        "homepage": HOMEPAGE,
        "license": "MIT",
        "architecture": {
            "64bit": {"url": url(arguments.zip_x64), "hash": sha256(arguments.zip_x64),
                      "extract_dir": folder(arguments.zip_x64)},
            "32bit": {"url": url(arguments.zip_x86), "hash": sha256(arguments.zip_x86),
                      "extract_dir": folder(arguments.zip_x86)},
        },
        "bin": "lumvrex-cli.exe",
        "shortcuts": [["lumvrex.exe", "Lumvrex"]],
    }, indent=4) + "\n", encoding="utf-8")
    for path in sorted(arguments.output.rglob("*.*")):
        print(f"make_manifests: {path}")


if __name__ == "__main__":
    main()
