// What the program offers assistants beyond the actions' tools: hints for the config tools, and
// tools of its own that read settings classes and where a config value comes from.
#pragma once

class FOrvexMcpSession;

void AddProgramTools(FOrvexMcpSession& Session);
