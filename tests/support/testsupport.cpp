// Shared test helpers are compiled here.
