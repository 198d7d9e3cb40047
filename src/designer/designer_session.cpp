#include "designer/designer_session.h"

DesignerSession::DesignerSession(std::string workingFolder, SqliteDatabase& db,
                                 const DesignerPorts& ports, DesignerOperations& operations)
    : workspace_(std::move(workingFolder)),
      store_(db, ports.prompts),
      controls_(workspace_.workingFolder),
      writer_(workspace_.workingFolder, controls_, ports.browser, ports.clipboard),
      catalog_(workspace_, store_, writer_),
      files_(workspace_, catalog_, store_, controls_, ports.browser, ports.prompts, ports.shell),
      publisher_(workspace_, store_, ports.clipboard, ports.prompts),
      dispatcher_({workspace_, writer_, catalog_, files_, publisher_, operations, ports.clipboard,
                   ports.prompts, ports.shell}) {}
