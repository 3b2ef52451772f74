#pragma once
// Says on standard error why something failed, once: the same line is not
// said again until another is, or until the thing works again. An output
// tried once a second while its server is away says why once, not every
// second. Any thread. Here whole, so that SDL's output module has it too.

#include <cstdio>
#include <mutex>
#include <string>

class FailureNote {
public:
    // "lirvan1: " and `line`, unless that was the last line said.
    void Say(const std::string& line)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (line == m_last) return;
        m_last = line;
        std::fprintf(stderr, "lirvan1: %s\n", line.c_str());
    }
    // It works again: its next failure is said even if it is the same.
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_last.clear();
    }

private:
    std::mutex m_mutex;
    std::string m_last; // guarded by m_mutex
};
