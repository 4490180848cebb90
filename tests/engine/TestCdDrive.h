#pragma once
// Stands in for the CD drive: an element that plays "cdda://N" addresses, track N lasting
// N x 200 ms of tone. Registered above every real CD source.

namespace lumivox::test {

void RegisterTestCdDrive();

}  // namespace lumivox::test
