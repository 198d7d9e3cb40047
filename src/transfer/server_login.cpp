#include "transfer/server_login.h"

#include "common/paths.h"
#include "page/working_files.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/server_trust_store.h"
#include "transfer/ftp_engine.h"
#include "transfer/server_names.h"

namespace {

// The page store of the working folder: what was learned of servers outlives the program.
class TrustBook {
  public:
    TrustBook(const std::string& workingFolder, const std::string& server)
        : path_(JoinPath(workingFolder, kPageStoreFile)), server_(TrustKey(server, false)) {
        try {
            SqliteDatabase db;
            db.open(path_);
            trust_ = LoadServerTrust(db, server_);
        } catch (const SqliteException&) {
            // An unreadable store knows nothing: every question is asked again.
        }
    }
    ServerTrust& trust() { return trust_; }
    void save() {
        try {
            SqliteDatabase db;
            db.open(path_);
            SaveServerTrust(db, server_, trust_);
        } catch (const SqliteException&) {
            // Not kept: the question comes again next time.
        }
    }

  private:
    std::string path_;
    std::string server_;
    ServerTrust trust_;
};

}  // namespace

int LogInTrusting(FtpEngine& engine, const LoginPlace& place, TrustQuestions& questions) {
    TrustBook book(place.workingFolder, place.server);
    ServerTrust& trust = book.trust();
    engine.requireTls(place.requireTls);
    engine.knownToSpeakTls(trust.speaksTls);
    engine.allowPlain(trust.plainAccepted);
    if (!trust.pin.empty()) {
        engine.acceptCertificate(trust.pin);
    }
    // Each question is asked once a login at most.
    bool askedCertificate = false;
    bool askedPlain = false;
    bool askedHostKey = false;
    for (;;) {
        const int code = engine.ftpeConnect(place.server, place.user, place.password);
        if ((code == FtpEngine::kUnverifiedCertificate || code == FtpEngine::kChangedCertificate) &&
            !askedCertificate) {
            askedCertificate = true;
            const std::optional<PeerKey> key = engine.ftpePeerKey();
            if (!key || !questions.trustCertificate(*key, code == FtpEngine::kChangedCertificate)) {
                return code;
            }
            trust.pin = key->pin;
            book.save();
            engine.acceptCertificate(key->pin);
        } else if (code == FtpEngine::kPlainServer && !askedPlain) {
            askedPlain = true;
            if (!questions.goOnUnencrypted()) {
                return code;
            }
            if (place.rememberPlainAnswer) {
                trust.plainAccepted = true;
                book.save();
            }
            engine.allowPlain(true);
        } else if (code == FtpEngine::kUnknownHostKey && engine.ftpeHostKey() && !askedHostKey) {
            askedHostKey = true;
            if (!questions.trustHostKey(*engine.ftpeHostKey())) {
                return code;
            }
            if (!engine.trustHostKey()) {
                questions.hostKeyNotKept();
                return code;
            }
        } else {
            if (code == 0 && engine.usesTls() && !trust.speaksTls) {
                trust.speaksTls = true;
                book.save();
            }
            return code;
        }
    }
}
