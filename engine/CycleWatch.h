#pragma once

#include <cstdint>

// Watches a run's steps for the first state seen again, by Brent's method: a state taken every
// power of two steps is compared with each that follows. A state decides every digit after it, so
// once one comes again, each character from there on is the one `characters()` before it. Needs
// no memory; finds the cycle within about three times the steps before it and of it.
class CycleWatch
{
public:
    // The state after another step, which ends `position` characters into the digits.
    void observe(std::int64_t state, std::int64_t position)
    {
        if (m_found)
            return;
        ++m_steps;
        if (m_savedStep > 0 && state == m_saved) {
            m_found = true;
            m_characters = position - m_savedAt;
            m_length = m_steps - m_savedStep;
            return;
        }
        if (m_steps - m_savedStep == m_span) {
            m_saved = state;
            m_savedAt = position;
            m_savedStep = m_steps;
            m_span *= 2;
        }
    }

    bool found() const { return m_found; }
    // The cycle in characters, and in steps.
    std::int64_t characters() const { return m_characters; }
    std::int64_t length() const { return m_length; }

private:
    bool m_found = false;
    std::int64_t m_steps = 0;
    std::int64_t m_saved = 0;
    std::int64_t m_savedAt = 0;
    std::int64_t m_savedStep = 0;
    std::int64_t m_span = 1;
    std::int64_t m_characters = 0;
    std::int64_t m_length = 0;
};
