target_sources(kqcore PRIVATE
)
