#include "cli/source_probe.h"

SourceFacts ProbeSource(const std::string&) {
  SourceFacts facts;
  facts.error = "cannot read MP4 files yet";
  return facts;
}
