// Access codes compared through salted SHA-256 hashes.
#include "ui/access_codes.h"

#include <QCryptographicHash>
#include <array>

namespace quorvex {
namespace {

struct StoredCode {
    int mode;
    const char* salt;
    const char* sha256Hex;  // of salt + code, the code in UTF-8
};

constexpr std::array<StoredCode, 3> kCodes = {{
    {kPasswordMode, "b5ece6042578c54d",
     "323433b0b4e66504015a707f69efc809f56766393162e32eca2a84187d785f3b"},
    {kMasterCodeMode, "c382344649696ab1",
     "34876ae36ab3dd1604b2f45524013c71949a8b2ce82699aa7878a0cd463fabf1"},
    {kSequencePasswordMode, "97d7e086c1305670",
     "f7855d821b5240b3af7cdcb5175f3455a64645a6eac49dbbe77ed545730a3322"},
}};

}  // namespace

bool AccessCodeMatches(int mode, const QString& entry) {
    for (const StoredCode& code : kCodes) {
        if (code.mode != mode) continue;
        const QByteArray salted = QByteArray(code.salt) + entry.toUtf8();
        const QByteArray digest =
            QCryptographicHash::hash(salted, QCryptographicHash::Sha256).toHex();
        return digest == QByteArray(code.sha256Hex);
    }
    return false;
}

}  // namespace quorvex
