#!/usr/bin/python3
"""Sealed containers made and read outside the project, against the program.

An independent implementation of the sealed format on Debian's argon2-cffi
(python3-argon2) and pyca/cryptography (python3-cryptography). It first
reproduces the two known-answer containers, then seals files that the
program must open, and opens the files the program sealed, byte for byte.

usage: sealed_reference.py WORK_DIR RUNNER... PROGRAM
RUNNER is what starts the program here (the Wine runner for a Windows
build; nothing for a native one).
"""

import base64
import hashlib
import os
import shutil
import subprocess
import sys

from argon2.low_level import Type, hash_secret_raw
from cryptography.exceptions import InvalidTag
from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import ChaCha20Poly1305
from cryptography.hazmat.primitives.kdf.hkdf import HKDF

FIRST_LINE = b"IMGCRYPT-SEALED-1"
LAST_LINE = b"####"
CHUNK = 65536
INFO = b"imgcrypt sealed v1"


def kek_of(password, salt, t, m, p):
    return hash_secret_raw(password, salt, t, m, p, 32, Type.ID, 19)


def file_keys(kek, nonce):
    okm = HKDF(hashes.SHA256(), 64, nonce, INFO).derive(kek)
    return okm[:32], okm[32:]


def header_of(salt, nonce, t=3, m=65536, p=1):
    return (bytes([1, 1, 1, 16]) + t.to_bytes(4, "big") + m.to_bytes(4, "big")
            + p.to_bytes(4, "big") + salt + nonce)


def chunk_nonce(index, last):
    return index.to_bytes(11, "big") + bytes([1 if last else 0])


def seal(source, kek, salt, nonce):
    header = header_of(salt, nonce)
    header_key, data_key = file_keys(kek, nonce)
    payload = header + ChaCha20Poly1305(header_key).encrypt(bytes(12), b"", header)
    pieces = [source[i:i + CHUNK] for i in range(0, len(source), CHUNK)] or [b""]
    aead = ChaCha20Poly1305(data_key)
    for i, piece in enumerate(pieces):
        payload += aead.encrypt(chunk_nonce(i, i == len(pieces) - 1), piece, None)
    text = base64.b64encode(payload)
    lines = [FIRST_LINE] + [text[i:i + 76] for i in range(0, len(text), 76)] + [LAST_LINE]
    return b"".join(line + b"\r\n" for line in lines)


def unseal(container, password):
    """The source bytes of a container, checked as strictly as the format says."""
    assert container.endswith(b"\r\n"), "no final CR LF"
    lines = container[:-2].split(b"\r\n")
    assert lines[0] == FIRST_LINE and lines[-1] == LAST_LINE, "first or last line"
    body = lines[1:-1]
    assert body and all(len(line) == 76 for line in body[:-1]) and 0 < len(body[-1]) <= 76, \
        "line lengths"
    text = b"".join(body)
    payload = base64.b64decode(text, validate=True)
    assert base64.b64encode(payload) == text, "base64 not canonical"
    header, tag, records = payload[:48], payload[48:64], payload[64:]
    assert header[:4] == bytes([1, 1, 1, 16]), "ids"
    t, m, p = (int.from_bytes(header[i:i + 4], "big") for i in (4, 8, 12))
    salt, nonce = header[16:32], header[32:48]
    header_key, data_key = file_keys(kek_of(password, salt, t, m, p), nonce)
    ChaCha20Poly1305(header_key).decrypt(bytes(12), tag, header)
    record = CHUNK + 16
    count = max(1, (len(records) + record - 1) // record)
    aead = ChaCha20Poly1305(data_key)
    return b"".join(
        aead.decrypt(chunk_nonce(i, i == count - 1), records[i * record:(i + 1) * record], None)
        for i in range(count))


def check_known_answers():
    salt, nonce = bytes(range(16)), bytes(range(16, 32))
    kek = kek_of(b"Se@led99", salt, 3, 65536, 1)
    small = seal(b"imgcrypt", kek, salt, nonce)
    assert small == (b"IMGCRYPT-SEALED-1\r\n"
                     b"AQEBEAAAAAMAAQAAAAAAAQABAgMEBQYHCAkKCwwNDg8QERITFBUWFxgZGhscHR4fnW7ll9wXHKwj\r\n"
                     b"nUcTewr8eTIbWLZpZHyB7HvMnr91mX+jsQ1SZ2w7Wg==\r\n"
                     b"####\r\n"), "the small known container"
    large = seal(b"a" * 70000, kek, salt, nonce)
    assert len(large) == 95949 and hashlib.sha256(large).hexdigest() == \
        "86d813b791bc16ccffe8f842375f82261fd31984c8282a94d97fe4e3ff965fac", "the two-chunk one"


def main():
    work, command = sys.argv[1], sys.argv[2:]
    check_known_answers()
    print("known answers reproduced")

    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "ours"))
    os.makedirs(os.path.join(work, "theirs"))
    password = b"Se@led99"
    with open(os.path.join(work, "pw"), "wb") as f:
        f.write(password + b"\r\n")
    sizes = [0, 1, 57, 65535, 65536, 65537, 200000]
    sources = {"f%d.jpg" % n: os.urandom(n) for n in sizes}

    def run(*args):
        done = subprocess.run(command + list(args), cwd=work, capture_output=True)
        return done.returncode, done.stderr.decode("utf-8", "replace")

    # Sealed here, one salt and derivation for the batch, opened there.
    salt = os.urandom(16)
    kek = kek_of(password, salt, 3, 65536, 1)
    for name, source in sources.items():
        with open(os.path.join(work, "ours", name), "wb") as f:
            f.write(seal(source, kek, salt, os.urandom(16)))
    status, log = run("decrypt", "--password-file", "pw", *("ours/" + n for n in sources))
    assert status == 0, log
    for name, source in sources.items():
        with open(os.path.join(work, "ours", "decrypted", name), "rb") as f:
            assert f.read() == source, "the program opened %s wrongly" % name
    print("containers sealed here open with the program")

    # Sealed by the program, opened here.
    for name, source in sources.items():
        with open(os.path.join(work, "theirs", name), "wb") as f:
            f.write(source)
    status, log = run("encrypt", "--class", "sealed", "--password-file", "pw",
                      *("theirs/" + n for n in sources))
    assert status == 0, log
    salts = set()
    for name, source in sources.items():
        path = os.path.join(work, "theirs", "encrypted", name)
        # Everything the run left, should a container be missing.
        assert os.path.exists(path), "%s not written; the program said:\n%s\nfolders: %s" % (
            name, log, sorted(os.walk(os.path.join(work, "theirs"))))
        with open(path, "rb") as f:
            container = f.read()
        assert unseal(container, password) == source, "%s opened wrongly here" % name
        salts.add(base64.b64decode(container.split(b"\r\n")[1])[16:32])
    assert len(salts) == 1, "one salt per run"
    try:
        unseal(container, b"Se@led98")
        raise AssertionError("another password opened a container")
    except InvalidTag:
        pass
    print("containers sealed by the program open here")

    # Another password: refused by the program, nothing written.
    with open(os.path.join(work, "pw2"), "wb") as f:
        f.write(b"Se@led98\n")
    status, log = run("decrypt", "--password-file", "pw2", "theirs/encrypted/f1.jpg")
    assert status == 1 and "Illegal password" in log, log
    assert not os.path.exists(os.path.join(work, "theirs", "encrypted", "decrypted")), \
        "output for a refused file"
    print("ok")


if __name__ == "__main__":
    main()
