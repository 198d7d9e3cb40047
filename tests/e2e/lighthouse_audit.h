#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <string>

#include "support/server_process.h"
#include "support/temp_folder.h"

// Lighthouse's audit of a page of the site folder (a phone on a simulated mobile network) in
// Debian's chromium, the folder served over HTTP on loopback; an empty object when it could not
// run.
inline QJsonObject LighthouseAudit(const std::string& siteFolder, const std::string& page,
                                   const std::string& scratch) {
    ServerProcess server(QUILLORA_STATIC_SITE, {siteFolder});
    if (server.port() <= 0) {
        return QJsonObject();
    }
    const std::string report = scratch + "/lighthouse.json";
    const std::string command =
        std::string("node '") + QUILLORA_LIGHTHOUSE +
        "' http://127.0.0.1:" + std::to_string(server.port()) + "/" + page +
        " --quiet --output=json --output-path='" + report +
        "' --only-categories=performance,accessibility,best-practices,seo "
        "--chrome-path=/usr/bin/chromium --chrome-flags='--headless=new --no-sandbox "
        "--disable-gpu --disable-background-networking --disable-component-update "
        "--disable-sync --no-first-run --user-data-dir=" +
        scratch + "/chromium'";
    if (std::system(command.c_str()) != 0) {
        return QJsonObject();
    }
    return QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(report))).object();
}
