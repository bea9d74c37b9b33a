#pragma once

#include <atomic>
#include <cstdint>

// Lets any thread abandon work in progress, such as the frame an engine is
// computing. Work takes a ticket when it begins and checks it between steps
// (the row pool checks it between slices of rows); Cancel abandons the work
// of every ticket issued before it, and tickets issued afterwards are fresh,
// so nothing has to be reset between frames. Cancel is a single lock-free
// atomic operation: it may be called from a signal handler.
class CCancelToken {
public:
    class Ticket {
    public:
        // A ticket of no token: never abandoned.
        Ticket() = default;
        bool IsAbandoned() const
        {
            return m_pToken != nullptr && m_pToken->m_generation.load(std::memory_order_acquire) != m_nGeneration;
        }

    private:
        friend class CCancelToken;
        Ticket(const CCancelToken* token, uint64_t generation) : m_pToken(token), m_nGeneration(generation) {}

        const CCancelToken* m_pToken = nullptr;
        uint64_t m_nGeneration = 0;
    };

    CCancelToken() = default;
    CCancelToken(const CCancelToken&) = delete;
    CCancelToken& operator=(const CCancelToken&) = delete;

    // A ticket for work that begins now.
    Ticket Issue() const { return Ticket(this, m_generation.load(std::memory_order_acquire)); }
    // Abandons the work of every ticket issued so far.
    void Cancel() { m_generation.fetch_add(1, std::memory_order_acq_rel); }

private:
    static_assert(std::atomic<uint64_t>::is_always_lock_free, "Cancel must be safe in a signal handler");
    std::atomic<uint64_t> m_generation{0};
};
