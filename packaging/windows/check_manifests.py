#!/usr/bin/env python3
"""Validates the manifests make_manifests.py writes against the vendored
schemas (packaging/windows/schemas/, see its README.md), and checks that
every SHA-256 in them is one of a file beside the manifests' artifacts:

    check_manifests.py SCHEMAS MANIFESTS [ARTIFACT...]
"""
import hashlib
import json
import pathlib
import sys

import jsonschema
import yaml


def validate(document, schema_path, name):
    schema = json.loads(schema_path.read_text(encoding="utf-8"))
    # Upstream names 2020-12 as "http://...#", which no validator is registered under.
    validator = jsonschema.Draft202012Validator if "2020-12" in schema["$schema"] else jsonschema.Draft7Validator
    validator.check_schema(schema)
    errors = sorted(validator(schema).iter_errors(document), key=lambda error: list(error.path))
    for error in errors:
        print(f"{name}: {'/'.join(map(str, error.path)) or '(top)'}: {error.message}", file=sys.stderr)
    return not errors


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    schemas = pathlib.Path(sys.argv[1])
    manifests = pathlib.Path(sys.argv[2])
    hashes = {hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest().lower() for path in sys.argv[3:]}
    checks = [
        ("winget/Lumvrex.Lumvrex.yaml", "winget/manifest.version.1.6.0.json"),
        ("winget/Lumvrex.Lumvrex.locale.en-US.yaml", "winget/manifest.defaultLocale.1.6.0.json"),
        ("winget/Lumvrex.Lumvrex.installer.yaml", "winget/manifest.installer.1.6.0.json"),
        ("scoop/lumvrex.json", "scoop/schema.json"),
    ]
    passed = True
    for manifest, schema in checks:
        path = manifests / manifest
        text = path.read_text(encoding="utf-8")
        document = json.loads(text) if path.suffix == ".json" else yaml.safe_load(text)
        ok = validate(document, schemas / schema, manifest)
        if hashes:
            found = [i["InstallerSha256"] for i in document.get("Installers", [])] + [
                a["hash"] for a in document.get("architecture", {}).values()]
            for value in found:
                if value.lower() not in hashes:
                    print(f"{manifest}: {value} is the SHA-256 of no artifact", file=sys.stderr)
                    ok = False
        print(f"check_manifests: {manifest} against {schema}: {'valid' if ok else 'INVALID'}")
        passed = passed and ok
    sys.exit(0 if passed else 1)


if __name__ == "__main__":
    main()
