#pragma once
// Asks the system to back the general heap with large pages. The records
// the daily and weekly walks read are spread over a heap that grows and
// fragments season by season; on small pages each walk then misses the
// address cache (TLB) ever more often, which costs far more time than the
// work itself. A hint only: where it is refused, small pages serve. The
// heap grows past the range advised, so this is to be asked again now and
// then; the pages already in use are merged at once rather than left to
// the system's slow background pass.
void AdviseHeapLargePages();
