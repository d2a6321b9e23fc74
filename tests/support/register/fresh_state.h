#pragma once
// The register's process-wide state (device status, identity, reference
// tables, settings cache, paper width, the open document) back to what it
// holds before main runs: what a restart of the program forgets. The write
// log is left alone, so that a power cut can span a restart.

void forgetProcessState();
