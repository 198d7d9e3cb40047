#include "transfer/ftp_tls.h"

#include "common/text_search.h"

void FtpTls::prepare(CURL* easy) const {
    const bool verifyPeer = pinnedKey_.empty();
    long rule = CURLUSESSL_ALL;
    if (!required_ && inUse_ && !forFiles_) {
        rule = CURLUSESSL_CONTROL;
    } else if (!required_ && allowPlain_ && !known()) {
        // A refused AUTH then goes on in clear, as agreed.
        rule = CURLUSESSL_TRY;
    }
    curl_easy_setopt(easy, CURLOPT_USE_SSL, rule);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, verifyPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, verifyPeer ? 2L : 0L);
    if (!pinnedKey_.empty()) {
        curl_easy_setopt(easy, CURLOPT_PINNEDPUBLICKEY, pinnedKey_.c_str());
    }
}

void FtpTls::sawCommand(const std::string& line) {
    authSent_ = StartsWith(line, "AUTH TLS") || StartsWith(line, "AUTH SSL");
    protSent_ = StartsWith(line, "PROT P");
}

void FtpTls::sawReply(const std::string& line) {
    if (authSent_ && StartsWith(line, "234")) {
        inUse_ = true;
    }
    // A refusal is a 4xx or 5xx answer; a multi-line answer's later lines start otherwise.
    if (protSent_ && !line.empty() && (line[0] == '4' || line[0] == '5')) {
        protRefused_ = true;
    }
    authSent_ = false;
    protSent_ = false;
}
