// What the tests run on, asked of the system itself.
#pragma once

// Whether the tests run under Wine: its ntdll exports wine_get_version, which Windows' does not. A test whose
// expectation is Wine's alone (a sequence Windows may send otherwise, a prefix's registry) skips elsewhere.
bool IsWine();
