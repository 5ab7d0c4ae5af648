#!/usr/bin/env python3
"""Writes the damaged and hostile LHA fixtures into the folder given.

Level-0 headers with stored (-lh0-) data, written by hand so that names,
methods and checksums can be chosen freely; the truncated and bad-checksum
fixtures are cut or altered copies of paper_lh5.lzh.
"""
import os
import struct
import sys

out = sys.argv[1]


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def entry(name, data, method=b'-lh0-', crc=None):
    name = name.encode('latin-1')
    body = method + struct.pack('<IIIBBB', len(data), len(data), 0x2C650000, 0x20, 0, len(name))
    body += name + struct.pack('<H', crc16(data) if crc is None else crc)
    return struct.pack('<BB', len(body), sum(body) & 0xFF) + body + data


def write(name, *entries):
    with open(os.path.join(out, name), 'wb') as f:
        f.write(b''.join(entries) + b'\0')


record = '12345,12,20020305,"x",y,6,5,6.25,1\r\n'.encode('cp932')
races = b'12345,1,1,race,1015\r\n'
gif = bytes.fromhex('47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b')

# Entries whose names point outside the folder or into a sub-folder, beside
# one plain paper file and a file that is not part of a paper.
write('traversal.lzh',
      entry('../kelmfa.txt', record),
      entry('/tmp/kelmfb.txt', record),
      entry('sub/kelmfd.txt', record),
      entry('sub\\kelmff.txt', record),
      entry('..', record),
      entry('readme.txt', record),
      entry('KELMFC.TXT', races),
      entry('1234.GIF', gif))
# A compression method that cannot be read.
write('unsupported.lzh', entry('kelmfa.txt', record, method=b'-lh1-'))
# A stored file whose data checksum does not match.
write('badcrc.lzh', entry('kelmfa.txt', record, crc=crc16(record) ^ 0x5A5A))
# An archive without any paper file.
write('nopaper.lzh', entry('readme.txt', record))
# Not an archive at all, and an empty file.
with open(os.path.join(out, 'notarchive.lzh'), 'wb') as f:
    f.write(b'This is a plain text file, not an archive.\r\n' * 4)
open(os.path.join(out, 'empty.lzh'), 'wb').close()
# A real compressed archive cut inside its compressed data.
good = open(os.path.join(out, 'paper_lh5.lzh'), 'rb').read()
with open(os.path.join(out, 'truncated.lzh'), 'wb') as f:
    f.write(good[:len(good) * 2 // 3])
