#pragma once

class KLocale;

/// Access to the desktop's process-wide objects.
class KGlobal
{
public:
    /// The process's locale; created on first use and kept for the process's life.
    static KLocale* locale();
};
