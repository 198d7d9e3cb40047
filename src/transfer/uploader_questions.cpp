#include "transfer/uploader_questions.h"

#include "platform/prompts.h"
#include "transfer/known_hosts.h"

bool UploaderQuestions::trustCertificate(const PeerKey& key, bool changed) {
    const std::string why =
        changed ? " shows another certificate than the one you accepted before. Someone may "
                  "be listening in between."
                : " offers an encrypted connection, but its certificate cannot be verified.";
    return prompts_.messageBox("The FTP server " + server_ + why + "\nIts key: " + key.fingerprint +
                                   "\nNothing of your login has been sent yet. Connect "
                                   "anyway? The connection stays encrypted.",
                               "FTP Security", MessageButtons::YesNo,
                               MessageIcon::Warning) == MessageAnswer::Yes;
}

bool UploaderQuestions::goOnUnencrypted() {
    return prompts_.messageBox(
               "The FTP server " + server_ +
                   " offers no encryption: your password and your files would travel "
                   "unencrypted, readable by anyone on the way.\nNothing of your login has "
                   "been sent yet. Connect anyway? (Your answer is remembered for this "
                   "server.)",
               "FTP Security", MessageButtons::YesNo, MessageIcon::Warning) == MessageAnswer::Yes;
}

bool UploaderQuestions::trustHostKey(const SshHostKey& key) {
    return prompts_.messageBox("The SFTP server " + server_ +
                                   " is not among your known hosts, so its identity cannot "
                                   "be checked.\nIts " +
                                   key.type() + " key fingerprint is " + key.fingerprint() +
                                   ".\nCompare it with the one your host publishes. Connect "
                                   "and remember this server?",
                               "SFTP Security", MessageButtons::YesNo,
                               MessageIcon::Warning) == MessageAnswer::Yes;
}

void UploaderQuestions::hostKeyNotKept() {
    prompts_.messageBox("The server's key could not be added to " + KnownHostsPath() + ".",
                        "SFTP Security", MessageButtons::Ok, MessageIcon::Warning);
}
