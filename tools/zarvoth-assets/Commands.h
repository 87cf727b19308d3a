// Commands: the four subcommands of zarvoth-assets. Each returns the exit status; reader
// errors propagate as engine exceptions for the caller to report.
#pragma once

#include <ostream>
#include <string>

int ListAssets(const std::string& fileName, std::ostream& out);
int ExtractAssets(const std::string& fileName, const std::string& directory);
int PackAssets(const std::string& directory, const std::string& fileName);
int DrawContactSheet(const std::string& fileName, const std::string& pngName);
