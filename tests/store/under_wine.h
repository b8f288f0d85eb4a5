// Whether the test runs as a Windows program under Wine, whose file system
// differs from Windows' own in a few places a test must allow for.
#pragma once

bool UnderWine();
