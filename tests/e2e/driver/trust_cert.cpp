// The "trust-cert" command: a test server's own certificate made one the
// prefix trusts, so that WinINet takes the server's https answers.
#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/driver/commands.h"

namespace driver {

int trustCertCommand(const Options& options) {
    std::ifstream in(options.get("cert"), std::ios::binary);
    const std::string der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (der.empty()) return 2;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) return 1;
    const BOOL added = CertAddEncodedCertificateToStore(
        store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()),
        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added ? 0 : 1;
}

}  // namespace driver
