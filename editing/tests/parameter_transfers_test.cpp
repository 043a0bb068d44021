// parameter tests follow
