# Sourced by the release checks. make_certificate <folder> <name> <from> <until> <purpose> makes
# <folder>/<name>.pem and .p12 (password in <folder>/password): a throwaway self-signed certificate
# valid from <from> until <until> (YYYYMMDDHHMMSSZ) for one extended key usage (codeSigning, ...).
make_certificate() {
  local folder=$1 name=$2
  [ -f "$folder/key.pem" ] || openssl genrsa -out "$folder/key.pem" 2048 2>/dev/null
  echo throwaway >"$folder/password"
  : >>"$folder/index.txt"
  printf '[ca]\ndefault_ca=d\n[d]\ndatabase=%s\nrand_serial=1\npolicy=p\n[p]\n[x]\nextendedKeyUsage=%s\n' \
    "$folder/index.txt" "$5" >"$folder/ca.cnf"
  openssl req -new -key "$folder/key.pem" -subj "/CN=Travune test $name" -out "$folder/$name.csr"
  openssl ca -batch -config "$folder/ca.cnf" -selfsign -keyfile "$folder/key.pem" -in "$folder/$name.csr" \
    -out "$folder/$name.pem" -outdir "$folder" -md sha256 -startdate "$3" -enddate "$4" -extensions x \
    -preserveDN -notext 2>/dev/null
  openssl pkcs12 -export -inkey "$folder/key.pem" -in "$folder/$name.pem" -passout "file:$folder/password" \
    -out "$folder/$name.p12"
}
