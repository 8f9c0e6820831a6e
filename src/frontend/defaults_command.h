// The front end's `defaults`, as the defaults tool reads, writes and deletes preferences from
// outside Tidra.
#pragma once

namespace tidra::sim {

class Frontend;

// `defaults read|write|delete DOMAIN ...`; "-g" names the global domain.
void addDefaultsCommand(Frontend& frontend);

}  // namespace tidra::sim
