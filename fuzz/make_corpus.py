#!/usr/bin/env python3
"""Makes the seed corpora of the fuzz targets from generated papers and the
archive fixtures of tests/data.

    fuzz/make_corpus.py GENPAPER OUT

GENPAPER is the sample-paper tool (build/kelmon_genpaper); OUT receives one
folder per target (fuzz_extract, fuzz_paperfile, fuzz_names, fuzz_answers, fuzz_http),
emptied first.
Paper files are cut to whole lines of at most 4 KB so that runs stay quick.
"""
import hashlib
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "data"
SEED_LIMIT = 4 * 1024


def paper_files():
    """The paper file names in the order of the table list, as the paper
    file target numbers them."""
    schema = (ROOT / "src" / "common" / "paper_schema.cpp").read_text(encoding="utf-8")
    return [m.group(1) for m in re.finditer(r'\{"f_\w+", "(\w+\.txt)", cols_', schema)]


def put(folder, data):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def cut(data):
    if len(data) <= SEED_LIMIT:
        return data
    end = data.rfind(b"\n", 0, SEED_LIMIT)
    return data[: end + 1] if end > 0 else data[:SEED_LIMIT]


def main():
    genpaper, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    shutil.rmtree(out, ignore_errors=True)
    files = paper_files()
    assert len(files) == 13, files
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        archives = tmp / "archives"
        for level, seed, extra in ((0, 1, []), (1, 2, []), (2, 3, ["--no-photos"]), (2, 4, ["--days", "3"])):
            subprocess.run([str(genpaper), "--out", str(archives), "--level", str(level), "--seed", str(seed)] + extra,
                           check=True, stdout=subprocess.DEVNULL)
        sources = sorted(archives.glob("*.lzh")) + sorted(FIXTURES.glob("*.lzh"))
        for archive in sources:
            data = archive.read_bytes()
            if data:
                put(out / "fuzz_extract", data)
            put(out / "fuzz_names", archive.name.encode())
            unpacked = tmp / ("x-" + archive.name)
            unpacked.mkdir()
            subprocess.run(["lha", "-xqw=" + str(unpacked), str(archive)], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            for f in unpacked.iterdir():
                if f.name.lower() in files:
                    put(out / "fuzz_paperfile", bytes([files.index(f.name.lower())]) + cut(f.read_bytes()))
    # Names of every month, day and venue letter, and of each edition and grade.
    for i, (month, day) in enumerate(zip("123456789abcABC", "123456789abcdefghijklmnopqrstuv")):
        venue = "abcdefghijklmnopqrstuvwx"[i % 24]
        put(out / "fuzz_names", f"0{i % 10}{month}{day}x{venue}{i % 6}{i % 8}.lzh".encode())
    for name in ("1234.gif", "KELMFA.TXT", "kelmfo.txt", "../kelmfa.txt", "a/b.gif"):
        put(out / "fuzz_names", name.encode())
    # The server's answers (code page 932): lists, reservations, acknowledgements,
    # the special words, and small archives as the fetch brings them.
    names = ["023b0a11.lzh", "12cv_X25.lzh", "02FA0i34.lzh", "990b0l43.lzh", "0219xb52.lzh", "023w0a11.lzh"]
    for answer in (",".join(names[:2] + ["5"]), ",".join(names + ["∞"]), "0", names[0] + ",0", " Non ", "FALSE",
                   "error\r\n", "", "K0001," + names[0], "K0002,../x.lzh", "K0003,X.LZH\r\n", "True,4", "true,∞",
                   "True", "False", "a.lzh,b.lzh,x"):
        put(out / "fuzz_answers", answer.encode("cp932"))
    for archive in sorted(FIXTURES.glob("paper_lh*.lzh")) + [FIXTURES / "truncated.lzh", FIXTURES / "cut10.lzh"]:
        put(out / "fuzz_answers", archive.read_bytes())
    # Whole answers as they come off the connection: by length, in chunks,
    # without length, interim answers first, coding lists, redirects and broken heads.
    ok = b"HTTP/1.1 200 OK\r\n"
    for answer in (ok + b"Content-Length: 7\r\nContent-Type: text/plain\r\n\r\na.lzh,5",
                   ok + b"Transfer-Encoding: chunked\r\n\r\n3;x=y\r\na.l\r\n4\r\nzh,5\r\n0\r\nT: 1\r\n\r\n",
                   b"HTTP/1.0 200 OK\nConnection: close\n\nTrue,4",
                   b"HTTP/1.1 100 Continue\r\n\r\n" + ok + b"Content-Length: 3\r\n\r\nNon",
                   b"HTTP/1.1 103 Early Hints\r\nLink: </a>\r\n\r\n" + ok + b"Transfer-Encoding: Chunked \r\n\r\n1\r\nx\r\n0\r\n\r\n",
                   ok + b"Transfer-Encoding: gzip\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nx\r\n0\r\n\r\n",
                   b"HTTP/1.1 302 Found\r\nLocation: /x?WCI=check\r\nContent-Length: 0\r\n\r\n",
                   b"HTTP/1.1 206 Partial Content\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nabc",
                   ok + b"Content-Encoding: deflate\r\nTransfer-Encoding: gzip, chunked\r\n\r\n1\r\nx\r\n",
                   ok + b"X: " + b"v" * 300, b"HTTP/1.1 200 ", ok + b"Transfer-Encoding: chunked\r\n\r\n1" + b"0" * 64,
                   # heads and a chunk-size line at their bounds, so that inputs of that length are tried
                   ok + b"X: " + b"v" * (16384 - 24) + b"\r\n\r\n" + b"ab" * 32,
                   ok + b"Transfer-Encoding: chunked\r\n\r\n1;" + b"e" * 1020 + b"\r\nz\r\n0\r\n\r\n"):
        put(out / "fuzz_http", answer)


if __name__ == "__main__":
    main()
