#!/bin/sh
# Writes tls_localhost.key and tls_localhost.crt into the current folder.
set -e
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/index.txt"
cat > "$work/ca.cnf" <<CNF
[self]
database = $work/index.txt
new_certs_dir = $work
serial = $work/serial
default_md = sha256
policy = any
[any]
commonName = supplied
[ext]
basicConstraints = critical,CA:TRUE
subjectAltName = DNS:localhost,DNS:papers.invalid
CNF
openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout tls_localhost.key \
    -subj "/CN=localhost" -out "$work/req.csr"
openssl ca -batch -config "$work/ca.cnf" -name self -extensions ext -create_serial -selfsign -keyfile tls_localhost.key \
    -in "$work/req.csr" -startdate 20000101000000Z -enddate 21000101000000Z -notext -out tls_localhost.crt
